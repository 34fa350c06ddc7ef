#pragma once
// The SugarCRM family of helper-utility connectors: its parameter table (SGRecords.h) with the
// server and the account of the user.
#include "SugarCRM/SGRecords.h"
#include "exchange/CxHelperBaseUtil.h"

class CxSGBaseUtil : public CxHelperBaseUtil
{
public:
    CxSGBaseUtil(const CxHelperFiles& files, const CxHelperWords& words);

    // The server: null or empty clears it, a longer text is cut to 255 characters.
    void SetHost(const char* host);
    const char* GetHost() const { return m_szHost; }

    // The base's settings (the user name and password among them), and the server.
    void Configure(const ConnectorConfig& config) override;

protected:
    void FillParams_(CxParamParser& params) override;
    // What a kind of data adds after the common parameters (the calendar's).
    virtual void FillKindParams_(CxParamParser& /*params*/) {}

private:
    char m_szHost[kTextSize] = {};
};
