#pragma once
// The exchange protocol of the Lotus Notes helpers, beside their record layouts
// (LNRecords.h): the parameter identifiers, the exchange file names and helper program of
// each kind of data, and the registry values through which a Lotus Notes installation is
// found (LNNotesKey, LNProgramFolderValue, LNInstallerKey, LNDataFolderValue: declared with
// the environment helpers in misc/WinUtil.h, which lie below the connector). Header only,
// shared by the connectors, the helper programs, the default locations (LNEnv) and the
// engine so that each is spelled once.
#include "exchange/CxHelperProtocol.h"
#include "misc/WinUtil.h"

// The parameters, in the order the connectors write them. Every value is a text.
enum LNParam : int
{
    LNParamUnused1 = 1000, // empty
    LNParamUnused2 = 1001, // empty
    LNParamUnused3 = 1002, // empty
    LNParamRecordFile = 1003,
    LNParamFolder = 1004, // the working folder
    LNParamCommand = 1005,
    LNParamErrorFile = 1006,
    LNParamStatusFile = 1007,
    // The database: the calendar, tasks and notes write LNParamDatabase, the contacts write
    // the address book, LNParamAddressBook, in its place.
    LNParamDatabase = 1008,
    LNParamAddressBook = 1009,
    LNParamLogFolder = 1010,
    LNParamLogFileName = 1011,
    LNParamLogLevel = 1012,
    LNParamLogEnabled = 1013,
    LNParamIdFile = 1014,
};

inline constexpr CxHelperParamIds LNParamIds{LNParamRecordFile, LNParamFolder,     LNParamCommand,
                                             LNParamErrorFile,  LNParamStatusFile, LNParamLogFolder,
                                             LNParamLogLevel,   LNParamLogEnabled};

// One kind of data: its helper program and exchange files, and which database parameter it
// writes.
struct LNExchange
{
    CxHelperFiles files;
    int databaseParam;
};

inline constexpr LNExchange LNAddrExchange{
    {"fw-notes-contacts", "LNAddr.dat", "LNAddrParam.dat", "LNAddrErr.dat", "LNAddrStatus.dat", "LNAddr.ini"},
    LNParamAddressBook};
inline constexpr LNExchange LNDateExchange{
    {"fw-notes-calendar", "LNDate.dat", "LNDateParam.dat", "LNDateErr.dat", "LNDateStatus.dat", "LNDate.ini"},
    LNParamDatabase};
inline constexpr LNExchange LNTaskExchange{
    {"fw-notes-tasks", "LNTask.dat", "LNTaskParam.dat", "LNTaskErr.dat", "LNTaskStatus.dat", "LNTask.ini"},
    LNParamDatabase};
inline constexpr LNExchange LNNoteExchange{
    {"fw-notes-notes", "LNNote.dat", "LNNoteParam.dat", "LNNoteErr.dat", "LNNoteStatus.dat", "LNNote.ini"},
    LNParamDatabase};
