#include "crm/CrmHelper.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "crm/CrmStore.h"
#include "exchange/CxHelperBaseUtil.h"
#include "kit/HelperSession.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"

namespace crm {

namespace {

int IntAt(const void* rec, std::size_t offset)
{
    int value;
    std::memcpy(&value, static_cast<const char*>(rec) + offset, sizeof value);
    return value;
}

bool LoadItems(HelperSession& session, Store& store, Family family, Kind kind)
{
    const FamilyInfo& service = Info(family);
    const KindInfo info = Info(family, kind);
    const std::string what = std::string("Loading ") + service.display + " " + info.words;
    const std::string recordPath = session.RecordPath();
    // Written beside the record file and renamed into place: a half-written record file must
    // never pass for the service's items.
    const std::string temp = recordPath + ".tmp" + std::to_string(::getpid());
    CxFile file;
    if (!file.Open(temp.c_str(), "wb")) {
        session.ReportError("Cannot write the record file " + recordPath + ".");
        return false;
    }
    int total = 0;
    int written = 0;
    bool ok = true;
    bool stopped = false;
    bool counted = false;
    std::string error;
    const int rangeStart = kind == Kind::Calendar ? session.Params().Int(service.rangeStartParam, 0) : 0;
    const int rangeEnd = kind == Kind::Calendar ? session.Params().Int(service.rangeEndParam, 0) : 0;
    const bool read = store.Read(
        kind, rangeStart, rangeEnd, &total,
        [&](const void* rec) {
            if (!counted) {
                counted = true;
                ok = file.WriteInt(total) && ok;
            }
            ok = SaveLayoutFields(file, info.layout->fields, rec) && ok;
            ++written;
            stopped = !session.Progress(what.c_str(), written, total);
            return ok && !stopped;
        },
        error);
    if (read && !counted) {
        ok = file.WriteInt(0) && ok; // no items
    }
    ok = file.Close() && ok;
    if (!read || !ok || stopped || written != total || std::rename(temp.c_str(), recordPath.c_str()) != 0) {
        std::remove(temp.c_str());
        if (!read) {
            session.ReportError(error);
        } else if (stopped) {
            session.ReportError(what + " was stopped.");
        } else {
            session.ReportError("Cannot write the record file " + recordPath + ".");
        }
        return false;
    }
    FW_LOG(2, "%s: %d written to %s", what.c_str(), written, recordPath.c_str());
    return true;
}

bool SubmitItems(HelperSession& session, Store& store, Family family, Kind kind)
{
    const FamilyInfo& service = Info(family);
    const KindInfo info = Info(family, kind);
    const std::string what = std::string("Submitting ") + service.display + " " + info.words;
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
    const std::size_t markAt = info.layout->fields[0].Offset;
    const std::size_t actionAt = info.layout->fields[1].Offset;
    std::vector<double> buffer(info.recordSize / sizeof(double) + 1);
    int added = 0;
    int changed = 0;
    for (int i = 0; i < total && error.empty(); ++i) {
        std::fill(buffer.begin(), buffer.end(), 0.0);
        void* rec = buffer.data();
        // The count is only a promise: the file's end stops the walk before it.
        if (file.AtEnd() || !LoadLayoutFields(file, info.layout->fields, rec)) {
            error = "The record file " + recordPath + " is cut short or damaged at record " +
                    std::to_string(i + 1) + " of " + std::to_string(total) + ".";
            break;
        }
        if (IntAt(rec, markAt) == CxHelperBaseUtil::kChangeMarkChanged) {
            const int action = IntAt(rec, actionAt);
            if (action == CxHelperBaseUtil::kActionNew) {
                if (store.Insert(rec, error)) {
                    ++added;
                }
            } else if (action == CxHelperBaseUtil::kActionChanged) {
                if (store.Update(rec, i, error)) {
                    ++changed;
                }
            } else {
                error = "Record " + std::to_string(i + 1) + " has the unknown action " +
                        std::to_string(action) + ".";
            }
        }
        if (error.empty() && !session.Progress(what.c_str(), i + 1, total)) {
            error = what + " was stopped.";
        }
    }
    if (error.empty() && store.CommitWrite(error)) {
        FW_LOG(2, "%s: %d added, %d changed.", what.c_str(), added, changed);
        return true;
    }
    store.Rollback();
    session.ReportError(error + " Nothing was changed.");
    return false;
}

} // namespace

int RunHelper(Family family, Kind kind, int argc, char** argv)
{
    const FamilyInfo& service = Info(family);
    const KindInfo info = Info(family, kind);
    HelperSession session(service.ids, info.controlFile);
    if (argc < 2 || !session.Begin(argv[1])) {
        return 2;
    }
    const int command = session.Command();
    if (command == CxHelperProtocol::kCommandLoad) {
        // A failed load must not leave an earlier run's records to be read as this one's.
        std::remove(session.RecordPath().c_str());
    }
    const HelperParamFile& params = session.Params();
    const std::string user = params.Text(service.userParam);
    const std::string host = service.hostParam != 0 ? params.Text(service.hostParam) : std::string();
    const std::string organisation =
        service.organisationParam != 0 ? params.Text(service.organisationParam) : std::string();
    FW_LOG(2, "%s %s helper: command %d, user \"%s\".", service.display, info.words, command, user.c_str());

    std::string path;
    std::string error;
    Store store;
    if (command != CxHelperProtocol::kCommandLoad && command != CxHelperProtocol::kCommandSubmit) {
        session.ReportError("Unknown command \"" + params.Text(service.ids.command) + "\".");
    } else if (!Store::DatabasePath(family, host, organisation, path, error) ||
               !store.Open(family, path, false, error)) {
        session.ReportError(error);
    } else if (store.CheckAccount(user, params.Text(service.passwordParam),
                                  service.tokenParam != 0 ? params.Text(service.tokenParam)
                                                          : std::string()) != AccountCheck::Accepted) {
        session.ReportError(
            std::string(service.display) + " refused the login of \"" + user + "\": the user name" +
            (service.tokenParam != 0 ? ", password or security token" : " or password") + " is incorrect.");
    } else if (command == CxHelperProtocol::kCommandLoad) {
        LoadItems(session, store, family, kind);
    } else {
        SubmitItems(session, store, family, kind);
    }
    session.SetStatus(session.ErrorCount() == 0 ? "Done." : "Failed.");
    return session.End();
}

} // namespace crm
