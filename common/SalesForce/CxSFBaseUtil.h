#pragma once
// The salesforce family of helper-utility connectors: its parameter table (SFRecords.h) with
// the account of the user: user name, password and security token.
#include "SalesForce/SFRecords.h"
#include "exchange/CxHelperBaseUtil.h"

class CxSFBaseUtil : public CxHelperBaseUtil
{
public:
    CxSFBaseUtil(const CxHelperFiles& files, const CxHelperWords& words);

    // The security token: null or empty clears it, a longer text is cut to 255 characters.
    void SetToken(const char* token);
    const char* GetToken() const { return m_szToken; }

    // The base's settings (the user name and password among them), and the token.
    void Configure(const ConnectorConfig& config) override;

protected:
    void FillParams_(CxParamParser& params) override;
    // What a kind of data adds after the common parameters (the calendar's date range).
    virtual void FillKindParams_(CxParamParser& /*params*/) {}

private:
    char m_szToken[kTextSize] = {};
};
