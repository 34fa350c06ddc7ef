#include "act/ACTHelper.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ACT/ACTProtocol.h"
#include "kit/HelperSession.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"

namespace {

struct KindInfo
{
    const char* words; // as in "Loading ACT! contacts: 12 of 50"
    const CxHelperFiles* files;
};

KindInfo Info(ACTItemKind kind)
{
    switch (kind) {
    case ACTItemKind::Contacts:
        return {"contacts", &ACTAddrFiles};
    case ACTItemKind::Calendar:
        return {"calendar events", &ACTDateFiles};
    case ACTItemKind::Tasks:
        return {"to-dos", &ACTTaskFiles};
    case ACTItemKind::Notes:
        break;
    }
    return {"notes", &ACTNoteFiles};
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

// Every layout starts with Reserved, the change mark and the action.
struct RecordHead
{
    int Reserved;
    int ChangeMark;
    int Action;
};

RecordHead Head(const void* rec)
{
    RecordHead head;
    std::memcpy(&head, rec, sizeof head);
    return head;
}

bool LoadItems(HelperSession& session, ACTStore& store, ACTItemKind kind, const KindInfo& info)
{
    const std::string what = std::string("Loading ACT! ") + info.words;
    ACTReadOptions options;
    if (kind == ACTItemKind::Tasks) {
        options.opportunities = session.Params().Int(CxACTBaseUtil::ParamOpportunities, 0) != 0;
        options.opportunityNotes = session.Params().Int(CxACTBaseUtil::ParamOpportunityNotes, 0) != 0;
    }
    std::string error;
    int total = 0;
    if (!store.BeginRead(kind, options, &total, error)) {
        session.ReportError(error);
        return false;
    }
    const std::string recordPath = session.RecordPath();
    CxFile file;
    if (!file.Open(recordPath.c_str(), "wb")) {
        store.EndRead();
        session.ReportError("Cannot write the record file " + recordPath + ".");
        return false;
    }
    FW_LOG(2, "Writing %d ACT! %s to %s", total, info.words, recordPath.c_str());
    bool ok = file.WriteInt(total);
    bool stopped = !session.Progress(what.c_str(), 0, total);
    RecordBuffer rec(ACTStore::RecordSize(kind));
    const std::span<const CxLayoutField> fields = ACTStore::Fields(kind);
    int written = 0;
    while (ok && !stopped && written < total) {
        rec.Clear();
        if (!store.Next(rec.Get(), error)) {
            break;
        }
        ok = SaveLayoutFields(file, fields, rec.Get());
        ++written;
        stopped = !session.Progress(what.c_str(), written, total);
    }
    store.EndRead();
    ok = file.Close() && ok;
    if (stopped || !ok || written != total) {
        // Half a record file must not pass for the database's contents.
        std::remove(recordPath.c_str());
        if (stopped) {
            session.ReportError(what + " was stopped.");
        } else if (!error.empty()) {
            session.ReportError(error);
        } else {
            session.ReportError("Cannot write the record file " + recordPath + ".");
        }
        return false;
    }
    return true;
}

bool SubmitItems(HelperSession& session, ACTStore& store, ACTItemKind kind, const KindInfo& info)
{
    const std::string what = std::string("Submitting ACT! ") + info.words;
    const std::string recordPath = session.RecordPath();
    CxFile file;
    if (!file.Open(recordPath.c_str(), "rb")) {
        session.ReportError("Cannot open the record file " + recordPath + ".");
        return false;
    }
    int total = 0;
    if (!file.ReadInt(&total) || total < 0) {
        session.ReportError("The record file " + recordPath + " is empty or damaged; nothing was changed.");
        return false;
    }
    std::string error;
    if (!store.BeginWrite(kind, error)) {
        session.ReportError(error + " Nothing was changed.");
        return false;
    }
    RecordBuffer rec(ACTStore::RecordSize(kind));
    const std::span<const CxLayoutField> fields = ACTStore::Fields(kind);
    int added = 0;
    int changed = 0;
    for (int i = 0; i < total; ++i) {
        rec.Clear();
        if (file.AtEnd() || !LoadLayoutFields(file, fields, rec.Get())) {
            error = "The record file " + recordPath + " is cut short or damaged at record " +
                    std::to_string(i + 1) + " of " + std::to_string(total) + ".";
            break;
        }
        const RecordHead head = Head(rec.Get());
        if (head.ChangeMark == ACTChangeMarkSubmit) {
            if (head.Action == ACTActionNew) {
                if (!store.Insert(rec.Get(), nullptr, error)) {
                    break;
                }
                ++added;
            } else if (head.Action == ACTActionChanged) {
                if (!store.Update(rec.Get(), error)) {
                    break;
                }
                ++changed;
            } else {
                error = "Record " + std::to_string(i + 1) + " has the unknown action " +
                        std::to_string(head.Action) + ".";
                break;
            }
        }
        if (!session.Progress(what.c_str(), i + 1, total)) {
            error = what + " was stopped.";
            break;
        }
    }
    if (error.empty() && store.CommitWrite(error)) {
        FW_LOG(2, "ACT! %s: %d added, %d changed.", info.words, added, changed);
        return true;
    }
    store.Rollback();
    session.ReportError(error + " Nothing was changed.");
    return false;
}

} // namespace

int RunACTHelper(ACTItemKind kind, int argc, char** argv)
{
    const KindInfo info = Info(kind);
    HelperSession session(ACTParamIds, info.files->controlFile);
    if (argc < 2 || !session.Begin(argv[1])) {
        return 2;
    }
    const int command = session.Command();
    if (command == CxHelperProtocol::kCommandLoad) {
        // A failed load must not leave an earlier run's records to be read as this one's.
        std::remove(session.RecordPath().c_str());
    }
    const std::string pad = session.Params().Text(CxACTBaseUtil::ParamDatabase);
    const std::string user = session.Params().Text(CxACTBaseUtil::ParamUserName);
    const std::string password = session.Params().Text(CxACTBaseUtil::ParamPassword);
    FW_LOG(2, "ACT! %s helper: command %d, database \"%s\", user \"%s\".", info.words, command, pad.c_str(),
           user.c_str());
    std::string path;
    std::string error;
    ACTStore store;
    if (command != CxHelperProtocol::kCommandLoad && command != CxHelperProtocol::kCommandSubmit) {
        session.ReportError("Unknown command \"" + session.Params().Text(CxACTBaseUtil::ParamCommand) +
                            "\".");
    } else if (!ACTStore::ResolvePad(pad, path, error) || !store.Open(path, error) ||
               !store.Login(user, password, error)) {
        session.ReportError(error);
    } else if (command == CxHelperProtocol::kCommandLoad) {
        LoadItems(session, store, kind, info);
    } else {
        SubmitItems(session, store, kind, info);
    }
    session.SetStatus(session.ErrorCount() == 0 ? "Done." : "Failed.");
    return session.End();
}
