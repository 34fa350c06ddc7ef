#include "palm/PalmDataModule.h"

TdmMain::TdmMain() : qryAddr(connAddr), qryDate(connDate), qryTodo(connTodo), qryMemo(connMemo) {}

TdmMain::~TdmMain() = default;

PmConnection* TdmMain::GetConnection(int kind)
{
    switch (kind) {
    case kPmAccessorAddr:
        return &connAddr;
    case kPmAccessorDate:
        return &connDate;
    case kPmAccessorTodo:
        return &connTodo;
    case kPmAccessorMemo:
        return &connMemo;
    default:
        return nullptr;
    }
}

PmQuery* TdmMain::GetQuery(int kind)
{
    switch (kind) {
    case kPmAccessorAddr:
        return &qryAddr;
    case kPmAccessorDate:
        return &qryDate;
    case kPmAccessorTodo:
        return &qryTodo;
    case kPmAccessorMemo:
        return &qryMemo;
    default:
        return nullptr;
    }
}

void TdmMain::CloseAll()
{
    for (int kind = kPmAccessorAddr; kind <= kPmAccessorMemo; ++kind) {
        GetQuery(kind)->Close();
        GetConnection(kind)->Close();
    }
}
