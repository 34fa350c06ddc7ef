#pragma once
// What every helper-utility connector shares, whatever application its helpers reach: the
// exchange files in the working folder, the run of the helper (parameter file, data reader,
// error file), the Load and Commit flows, and the stop request in the control file.
//
// A family (Lotus Notes, Google, ACT!) derives from this and supplies its parameter table
// (FillParams_) and, where it needs one, its own data reader. A kind of data derives from the
// family through CxHelperRecordUtil, which supplies the record file and the store.
#include <cstdint>
#include <memory>
#include <string>

#include "exchange/CxDataReader.h"
#include "exchange/CxHelperProtocol.h"
#include "exchange/CxParamParser.h"
#include "misc/CxConnector.h"

// The connector's own words for its log lines. loadOpenFailed and saveOpenFailed take the
// record file's path ("%s"). A null text logs nothing. The texts must outlive the connector
// (string literals).
struct CxHelperWords
{
    const char* loadStart;      // e.g. "Start loading Lotus Notes Calendar."
    const char* loadDone;       // e.g. "Load Lotus Notes Calendar information successfully."
    const char* loadFailed;     // e.g. "Failed to load Lotus Notes Calendar information."
    const char* loadOpenFailed; // e.g. "Failed to open file: %s"
    const char* saveOpenFailed;
};

class CxHelperBaseUtil : public CxConnector
{
public:
    static constexpr int kTextSize = 256;
    static constexpr int kErrorTextSize = 1024;

    enum Command : int
    {
        CommandLoad = CxHelperProtocol::kCommandLoad,
        CommandSubmit = CxHelperProtocol::kCommandSubmit,
    };

    // Change marks and actions of native records.
    static constexpr int kChangeMarkChanged = 2;
    static constexpr int kActionNew = 1;
    static constexpr int kActionChanged = 2;

    // sourceType is the CommSourceType given to every common record the connector makes.
    CxHelperBaseUtil(int sourceType, const CxHelperFiles& files, const CxHelperWords& words);
    // Writes the stop request to a helper that still runs, then deletes the status and
    // error files. Derived classes release their records first.
    ~CxHelperBaseUtil() override;
    CxHelperBaseUtil(const CxHelperBaseUtil&) = delete;
    CxHelperBaseUtil& operator=(const CxHelperBaseUtil&) = delete;

    // Clear; command 1; run the helper; read the record file. The result is that of reading
    // the record file; HasError tells whether the helper reported an error. A helper that
    // cannot be started, is still running at the wait limit or is ended by a signal fails the
    // load with HasError set and an error text that names it; no record file is read then.
    bool Load() override;
    // Deletes the status file and the error file. Derived classes release their records too.
    void Clear() override;
    // True at once when nothing changed since the last Commit; otherwise writes the record
    // file, runs the helper with command 2 and clears dirty. False when the record file
    // cannot be written (nothing is run then), and, with HasError set and dirty kept, when the
    // helper's run failed as for Load.
    bool Commit() override;

    bool GetErrorFlag() const override { return m_bError; }
    std::string GetErrorText() const override { return m_szErrorText; }
    // What the helper reported in its control file when the last load ended.
    int GetLossyRecordCount() const override { return m_nLossyRecords; }
    // Working folder, log folder and level, database, ID file, user and password.
    void Configure(const ConnectorConfig& config) override;

    // Text setters: null or empty clears, longer texts are cut to kTextSize - 1 characters.
    void SetFolder(const char* folder); // the working folder, ending in a separator
    void SetLogFolder(const char* folder);
    void SetLogFileName(const char* name);
    void SetDatabase(const char* name);
    void SetIdFile(const char* name);
    void SetAccount(const char* name); // user name or e-mail address
    void SetPassword(const char* password);
    void SetHelperLogLevel(int level) { m_nLogLevel = level; }
    void EnableHelperLog(bool enable) { m_bLogEnabled = enable; }
    // How long a run waits for its helper (milliseconds); 30 minutes unless set.
    void SetWaitLimit(std::uint32_t milliseconds);
    // What starts the helper and waits for it; null gives the real one (a child process),
    // which is also what a connector uses unless given another.
    void SetHelperLauncher(std::unique_ptr<CxHelperLauncher> launcher);

    bool HasError() const { return m_bError; }
    const char* ErrorText() const { return m_szErrorText; }
    bool IsDirty() const { return m_bDirty; }
    int GetCommand() const { return m_nCommand; }
    int GetSourceType() const { return m_nSourceType; }

    const char* GetFolder() const { return m_szFolder; }
    const char* GetLogFolder() const { return m_szLogFolder; }
    const char* GetLogFileName() const { return m_szLogFileName; }
    const char* GetDatabase() const { return m_szDatabase; }
    const char* GetIdFile() const { return m_szIdFile; }
    const char* GetAccount() const { return m_szAccount; }
    const char* GetPassword() const { return m_szPassword; }
    int GetHelperLogLevel() const { return m_nLogLevel; }
    bool IsHelperLogEnabled() const { return m_bLogEnabled; }
    const CxHelperFiles& Files() const { return m_files; }

    // Paths of the exchange files: the working folder followed by the file name.
    std::string DataFilePath() const;
    std::string ParamFilePath() const;
    std::string ErrorFilePath() const;
    std::string StatusFilePath() const;
    std::string ControlFilePath() const;

    // The data reader of the last run; null before the first.
    const CxDataReader* DataReader() const { return m_pReader.get(); }

protected:
    // The family's parameter table, in the order it is written.
    virtual void FillParams_(CxParamParser& params) = 0;
    // The family's data reader; the base gives the plain one.
    virtual std::unique_ptr<CxDataReader> MakeDataReader_();

    // The whole record file: read after a load, written before a submit.
    virtual bool LoadFromFile() = 0;
    virtual bool SaveToFile() = 0;

    // Builds the parameter file, runs the helper and reads the error file. False when the
    // run failed (see Load): HasError is then set, with the data reader's reason as the
    // error text, and the error file is not read.
    bool InvokeHelper_();
    // Reads the error file: the last error it lists, or no error.
    void ReadErrorFile_();
    // When the helper still runs (control file [Status] Running non-zero), asks it to stop.
    void RequestStop_();
    // The control file's count of records that lost characters to the code page.
    int ReadLossyRecords_() const;

    void SetDirty(bool dirty) { m_bDirty = dirty; }
    void SetCommand(int command) { m_nCommand = command; }
    const CxHelperWords& Words() const { return m_words; }

private:
    static void CopyText(char* dest, const char* text);

    int m_nSourceType;
    CxHelperFiles m_files;
    CxHelperWords m_words;

    bool m_bDirty = true;
    bool m_bError = false;
    int m_nLossyRecords = 0;
    int m_nLogLevel = 3;
    bool m_bLogEnabled = false;
    int m_nCommand = CommandLoad;
    std::uint32_t m_waitLimit = CxDataReader::kDefaultWaitLimit;

    char m_szFolder[kTextSize] = {};
    char m_szLogFolder[kTextSize] = {};
    char m_szLogFileName[kTextSize] = {};
    char m_szDatabase[kTextSize] = {};
    char m_szIdFile[kTextSize] = {};
    char m_szAccount[kTextSize] = {};
    char m_szPassword[kTextSize] = {};
    char m_szErrorText[kErrorTextSize] = {};

    std::unique_ptr<CxDataReader> m_pReader;
    // A launcher given before the first run, for the data reader when it is made.
    std::unique_ptr<CxHelperLauncher> m_pLauncher;
};
