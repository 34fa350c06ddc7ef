#pragma once
// The Dynamics CRM family of helper-utility connectors: its parameter table (DNRecords.h) with
// the server, the organisation, the login, its password and the authentication mode.
#include "Dynamics/DNRecords.h"
#include "exchange/CxHelperBaseUtil.h"

class CxDNBaseUtil : public CxHelperBaseUtil
{
public:
    // The login and its password hold at most kShortTextSize - 1 characters.
    static constexpr int kShortTextSize = 32;

    CxDNBaseUtil(const CxHelperFiles& files, const CxHelperWords& words);

    // Null or empty clears; a longer text is cut (server and organisation to 255 characters,
    // login and password to 31).
    void SetHost(const char* host);
    void SetOrganisation(const char* organisation);
    void SetLogin(const char* login);
    void SetLoginPassword(const char* password);
    void SetAuthMode(int mode) { m_nAuthMode = mode; }
    const char* GetHost() const { return m_szHost; }
    const char* GetOrganisation() const { return m_szOrganisation; }
    const char* GetLogin() const { return m_szLogin; }
    const char* GetLoginPassword() const { return m_szLoginPassword; }
    int GetAuthMode() const { return m_nAuthMode; }

    // The base's settings, and the server, organisation, login, password and mode.
    void Configure(const ConnectorConfig& config) override;

protected:
    void FillParams_(CxParamParser& params) override;
    // What a kind of data adds after the common parameters (the contact flags, the calendar's
    // date range).
    virtual void FillKindParams_(CxParamParser& /*params*/) {}

private:
    char m_szHost[kTextSize] = {};
    char m_szOrganisation[kTextSize] = {};
    char m_szLogin[kShortTextSize] = {};
    char m_szLoginPassword[kShortTextSize] = {};
    int m_nAuthMode = 0;
};
