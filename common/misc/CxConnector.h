#pragma once
// What the migration engine requires of every connector, whatever application it reaches.
// Connectors implement this; the engine drives it. Neither knows the other's classes.
#include <string>

#include "misc/AppKind.h"
#include "misc/CommAddrMgr.h"
#include "misc/CommDateMgr.h"
#include "misc/CommNoteMgr.h"
#include "misc/CommTaskMgr.h"

// Everything a connector may be configured with before it loads. Each kind takes the part it
// needs; texts are in the ANSI code page, passwords and tokens in plain text.
struct ConnectorConfig
{
    std::string dataFolder; // the working folder: exchange files live here
    std::string logFolder;  // the diagnostic log's folder
    bool enableDebug = false;
    int logLevel = 0;

    std::string database; // Lotus Notes database, ACT! database (.pad)
    std::string idFile;   // Lotus Notes user ID file
    std::string hostName;
    std::string organisation;
    std::string userName;
    std::string password;
    std::string token;
    int authMode = 0;
    bool opportunities = false;    // ACT! tasks: include opportunities
    bool opportunityNotes = false; // ACT! tasks: include opportunity notes
    bool addrAccount = false;      // CRM contacts: which record kinds count as contacts
    bool addrContact = false;
    bool addrLead = false;

    bool useFile = false; // Palm Desktop: load this file instead of the user's data
    std::string fileName;
    int userId = 0;
};

class CxConnector
{
public:
    virtual ~CxConnector() = default;

    // Reads every record of the connector's data type into its store; reloading replaces all.
    virtual bool Load() = 0;
    // Drops the native records and clears the store.
    virtual void Clear() = 0;
    // Writes the collected changes; true when there was nothing to write.
    virtual bool Commit() { return true; }

    // Error state of the last Load or Commit (helper-utility connectors); a set flag is a
    // failure even when the operation returned true.
    virtual bool GetErrorFlag() const { return false; }
    virtual std::string GetErrorText() const { return std::string(); }
    // After a successful Load: a text for the wait window that the user should read before
    // the flow goes on (ANSI code page); empty for none.
    virtual std::string GetLoadNotice() const { return std::string(); }
    // After a Load: how many of the records had characters that the ANSI code page lacks
    // (each became '?'); 0 when none, or when the connector cannot tell.
    virtual int GetLossyRecordCount() const { return 0; }

    virtual void Configure(const ConnectorConfig& config) = 0;

    // The record store of the connector's data type; the others give null.
    virtual CommAddrMgr* GetAddrStore() { return nullptr; }
    virtual CommDateMgr* GetDateStore() { return nullptr; }
    virtual CommTaskMgr* GetTaskStore() { return nullptr; }
    virtual CommNoteMgr* GetNoteStore() { return nullptr; }

    // Searches the store for the record: nothing for Same, changes the matched native record
    // for Diff, adds a new one for New. With writeNow false, helper-utility connectors only
    // collect the change for Commit. Records of another data type are refused (false).
    virtual bool SubmitRecord(const CommAddrRec& /*record*/, bool /*writeNow*/) { return false; }
    virtual bool SubmitRecord(const CommDateRec& /*record*/, bool /*writeNow*/) { return false; }
    virtual bool SubmitRecord(const CommTaskRec& /*record*/, bool /*writeNow*/) { return false; }
    virtual bool SubmitRecord(const CommNoteRec& /*record*/, bool /*writeNow*/) { return false; }
};
