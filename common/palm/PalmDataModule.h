#pragma once
// The process-wide data module of the Palm Desktop 6.x databases: one connection and one
// query per kind of data.
#include "palm/PalmConnection.h"

// Accessor kinds: which connection and query pair of the data module a database uses.
enum PmAccessorKind : int
{
    kPmAccessorAddr = 1,
    kPmAccessorDate = 2,
    kPmAccessorTodo = 3,
    kPmAccessorMemo = 4,
};

// The data module: one connection and query pair per kind of data, once in the process.
class TdmMain
{
public:
    TdmMain();
    ~TdmMain();
    TdmMain(const TdmMain&) = delete;
    TdmMain& operator=(const TdmMain&) = delete;

    PmConnection connAddr;
    PmConnection connDate;
    PmConnection connTodo;
    PmConnection connMemo;
    PmQuery qryAddr;
    PmQuery qryDate;
    PmQuery qryTodo;
    PmQuery qryMemo;

    // By accessor kind 1..4; null for any other kind.
    PmConnection* GetConnection(int kind);
    PmQuery* GetQuery(int kind);
    // Closes every query and connection.
    void CloseAll();
};

extern TdmMain dmMain;
