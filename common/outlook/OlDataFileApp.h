#pragma once
// Outlook, on this platform, is an Outlook data file (.pst, .ost): what a program owns to
// reach one — its automation server table with the data-file server registered, the file's
// source and the one Outlook session — and how it hands the Outlook kind, with its four
// connectors, to its application registry.
#include <memory>
#include <string>

#include "misc/CxAppDescriptor.h"
#include "outlook/OlComm.h"
#include "outlook/OlDataFileServer.h"
#include "outlook/pst/PstStore.h"
#include "platform/AutomationServers.h"

struct FWSettings;

// What opening the Outlook data file that the settings name (OLDataFile, OLCodePage,
// OLPasswordText) gives: whether it opens, why not (a message that names the file) and what
// kind of data file it is ("Unicode PST", "OST", …; empty when it is none). The front ends
// check a file with it before anything is loaded; a password is asked for when the failure
// is PasswordNeeded or PasswordWrong.
struct OutlookDataFileCheck
{
    bool ok = false;
    pst::OpenFailure failure = pst::OpenFailure::None;
    std::string message;
    std::string format;
};
OutlookDataFileCheck CheckOutlookDataFile(const FWSettings& settings);

// The code page the settings give for an ANSI data file (OLCodePage, 1252 when unset).
unsigned OutlookCodePage(const FWSettings& settings);

class OutlookDataFile
{
public:
    OutlookDataFile();
    OutlookDataFile(const OutlookDataFile&) = delete;
    OutlookDataFile& operator=(const OutlookDataFile&) = delete;

    // Replaces the Outlook kind of the registry with one whose connectors reach the data file
    // that the settings name (OLDataFile, OLCodePage) when they are made. The registry and the
    // connectors it makes must not outlive this object.
    void AddTo(CxAppRegistry& apps);

    // The file, code page and password (OLPasswordText, never written to the settings file) as
    // the settings give them, set in the source: the connectors made next open that file.
    void UseSettings(const FWSettings& settings);

    OutlookDataFileSource& Source() { return *m_source; }

private:
    platform::AutomationServers m_servers;
    std::shared_ptr<OutlookDataFileSource> m_source;
    std::unique_ptr<OlSession> m_session;
};
