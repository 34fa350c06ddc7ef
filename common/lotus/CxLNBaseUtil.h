#pragma once
// The Lotus Notes family of helper-utility connectors: its parameter table and its data
// reader, which runs the helper in the Notes program folder. The parameters themselves are
// those of lotus/LNProtocol.h.
#include "exchange/CxHelperBaseUtil.h"
#include "lotus/LNProtocol.h"

class CxLNBaseUtil : public CxHelperBaseUtil
{
public:
    // Identifier of the database parameter: 1008 for calendar, tasks and notes, 1009 (the
    // address book) for contacts.
    static constexpr int kParamDatabase = LNParamDatabase;
    static constexpr int kParamAddressBook = LNParamAddressBook;

    CxLNBaseUtil(const CxHelperFiles& files, const CxHelperWords& words,
                 int databaseParamId = kParamDatabase);

protected:
    void FillParams_(CxParamParser& params) override;
    std::unique_ptr<CxDataReader> MakeDataReader_() override;

private:
    int m_databaseParamId;
};
