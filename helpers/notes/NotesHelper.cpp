#include "notes/NotesHelper.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "kit/HelperSession.h"
#include "lotus/LNProtocol.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"
#include "platform/Registry.h"

namespace {

struct KindInfo
{
    const char* words;       // as in "Loading Lotus Notes contacts: 12 of 50"
    const char* controlFile; // in the working folder
    int databaseParam;
    std::size_t recordSize;
};

KindInfo Info(NotesItemKind kind)
{
    switch (kind) {
    case NotesItemKind::Contacts:
        return {"contacts", LNAddrExchange.files.controlFile, LNAddrExchange.databaseParam,
                sizeof(LNAddrRec)};
    case NotesItemKind::Calendar:
        return {"calendar", LNDateExchange.files.controlFile, LNDateExchange.databaseParam,
                sizeof(LNDateRec)};
    case NotesItemKind::Tasks:
        return {"tasks", LNTaskExchange.files.controlFile, LNTaskExchange.databaseParam, sizeof(LNTaskRec)};
    case NotesItemKind::Notes:
        break;
    }
    return {"notes", LNNoteExchange.files.controlFile, LNNoteExchange.databaseParam, sizeof(LNNoteRec)};
}

// Zeroed, suitably aligned room for one record of any layout.
class RecordBuffer
{
public:
    explicit RecordBuffer(std::size_t size) : m_data((size + sizeof(double) - 1) / sizeof(double)) {}
    void* Get() { return m_data.data(); }
    void Clear() { std::fill(m_data.begin(), m_data.end(), 0.0); }

private:
    std::vector<double> m_data;
};

int ChangeMark(const void* rec)
{
    int value;
    std::memcpy(&value, rec, sizeof value); // every layout starts with the change mark
    return value;
}

int Action(const void* rec)
{
    int value;
    std::memcpy(&value, static_cast<const char*>(rec) + sizeof(int), sizeof value);
    return value;
}

bool LoadItems(HelperSession& session, NotesStore& store, NotesItemKind kind, const KindInfo& info)
{
    std::string what = std::string("Loading Lotus Notes ") + info.words;
    std::string error;
    int total = 0;
    if (!store.BeginRead(kind, &total, error)) {
        session.ReportError(error);
        return false;
    }
    std::string recordPath = session.RecordPath();
    CxFile file;
    if (!file.Open(recordPath.c_str(), "wb")) {
        session.ReportError("Cannot write the record file " + recordPath + ".");
        return false;
    }
    FW_LOG(2, "Writing %d Lotus Notes %s to %s", total, info.words, recordPath.c_str());
    bool ok = file.WriteInt(total);
    bool stopped = !session.Progress(what.c_str(), 0, total);
    RecordBuffer rec(info.recordSize);
    std::span<const LNFieldDesc> fields = NotesStore::Fields(kind);
    int written = 0;
    while (ok && !stopped && written < total) {
        rec.Clear();
        if (!store.Next(rec.Get(), error)) {
            break;
        }
        ok = SaveLNRecord(file, fields, rec.Get());
        ++written;
        stopped = !session.Progress(what.c_str(), written, total);
    }
    store.EndRead();
    ok = file.Close() && ok;
    if (stopped || !ok || written != total) {
        // Half a record file must not pass for the database's contents.
        std::remove(recordPath.c_str());
        if (stopped) {
            session.ReportError("Loading Lotus Notes " + std::string(info.words) + " was stopped.");
        } else if (!error.empty()) {
            session.ReportError(error);
        } else {
            session.ReportError("Cannot write the record file " + recordPath + ".");
        }
        return false;
    }
    return true;
}

bool SubmitItems(HelperSession& session, NotesStore& store, NotesItemKind kind, const KindInfo& info)
{
    std::string what = std::string("Submitting Lotus Notes ") + info.words;
    std::string recordPath = session.RecordPath();
    CxFile file;
    if (!file.Open(recordPath.c_str(), "rb")) {
        session.ReportError("Cannot open the record file " + recordPath + ".");
        return false;
    }
    int total = 0;
    if (!LoadLNRecordCount(file, &total)) {
        session.ReportError("The record file " + recordPath + " is empty or damaged; nothing was changed.");
        return false;
    }
    std::string error;
    if (!store.BeginWrite(kind, error)) {
        session.ReportError(error + " Nothing was changed.");
        return false;
    }
    RecordBuffer rec(info.recordSize);
    std::span<const LNFieldDesc> fields = NotesStore::Fields(kind);
    int added = 0;
    int changed = 0;
    for (int i = 0; i < total; ++i) {
        rec.Clear();
        if (file.AtEnd() || !LoadLNRecord(file, fields, rec.Get())) {
            error = "The record file " + recordPath + " is cut short or damaged at record " +
                    std::to_string(i + 1) + " of " + std::to_string(total) + ".";
            break;
        }
        if (ChangeMark(rec.Get()) == LNChangeMarkSubmit) {
            int action = Action(rec.Get());
            if (action == LNActionNew) {
                if (!store.Insert(rec.Get(), nullptr, error)) {
                    break;
                }
                ++added;
            } else if (action == LNActionChanged) {
                if (!store.Update(rec.Get(), error)) {
                    break;
                }
                ++changed;
            } else {
                error = "Record " + std::to_string(i + 1) + " has the unknown action " +
                        std::to_string(action) + ".";
                break;
            }
        }
        if (!session.Progress(what.c_str(), i + 1, total)) {
            error = "Submitting Lotus Notes " + std::string(info.words) + " was stopped.";
            break;
        }
    }
    if (error.empty() && store.CommitWrite(error)) {
        FW_LOG(2, "Lotus Notes %s: %d added, %d changed.", info.words, added, changed);
        return true;
    }
    store.Rollback();
    session.ReportError(error + " Nothing was changed.");
    return false;
}

} // namespace

bool ResolveNotesDatabase(const std::string& name, std::string& path, std::string& error)
{
    if (name.empty()) {
        error = "No Lotus Notes database was named.";
        return false;
    }
    if (name.find("!!") != std::string::npos) {
        error = "Database " + name +
                " is on a server: the local Lotus Notes store serves local databases only. Name a local "
                "database.";
        return false;
    }
    if (name.front() == '/') {
        path = name;
        return true;
    }
    char dataDir[1024] = {};
    if (!platform::RegQueryString(platform::RegistryHive::CurrentUser, LNInstallerKey, LNDataFolderValue,
                                  dataDir, sizeof dataDir) ||
        dataDir[0] == '\0') {
        error = "Database " + name + " cannot be found: no Lotus Notes data folder is registered.";
        return false;
    }
    path = dataDir;
    if (path.back() != '/') {
        path += '/';
    }
    path += name;
    return true;
}

int RunNotesHelper(NotesItemKind kind, int argc, char** argv)
{
    KindInfo info = Info(kind);
    HelperSession session(LNParamIds, info.controlFile);
    if (argc < 2 || !session.Begin(argv[1])) {
        return 2;
    }
    int command = session.Command();
    std::string recordPath = session.RecordPath();
    if (command == CxHelperProtocol::kCommandLoad) {
        // A failed load must not leave an earlier run's records to be read as this one's.
        std::remove(recordPath.c_str());
    }
    std::string name = session.Params().Text(info.databaseParam);
    std::string path;
    std::string error;
    NotesStore store;
    FW_LOG(2, "Lotus Notes %s helper: command %d, database \"%s\".", info.words, command, name.c_str());
    if (command != CxHelperProtocol::kCommandLoad && command != CxHelperProtocol::kCommandSubmit) {
        session.ReportError("Unknown command \"" + session.Params().Text(LNParamCommand) + "\".");
    } else if (!ResolveNotesDatabase(name, path, error) || !store.Open(path, error)) {
        session.ReportError(error);
    } else if (command == CxHelperProtocol::kCommandLoad) {
        LoadItems(session, store, kind, info);
    } else {
        SubmitItems(session, store, kind, info);
    }
    session.SetStatus(session.ErrorCount() == 0 ? "Done." : "Failed.");
    return session.End();
}
