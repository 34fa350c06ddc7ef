#include "google/serve/GoogleContactsHelper.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "google/contacts/GoogleCsvReader.h"
#include "google/contacts/VCardWriter.h"
#include "google/serve/GoogleExport.h"
#include "kit/HelperSession.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"
#include "platform/CodePage.h"

namespace gexport {

using namespace gcontacts;

namespace {

// Fills the slots of one array from elements: each element with a kind code above 0 takes
// the next free slot.
template <typename Elem, std::size_t W, typename KindOf, typename Write>
void FillSlots(const std::vector<Elem>& elems, int* kinds, char (*values)[W], int slots, KindOf kindOf,
               Write write)
{
    int slot = 0;
    for (const Elem& e : elems) {
        const int kind = kindOf(e);
        if (kind <= 0 || slot >= slots) {
            continue;
        }
        kinds[slot] = kind;
        write(e, slot, values[slot]);
        ++slot;
    }
}

template <typename Elem> const Elem* PrimaryOf(const std::vector<Elem>& elems)
{
    for (const Elem& e : elems) {
        if (e.primary) {
            return &e;
        }
    }
    return elems.empty() ? nullptr : &elems.front();
}

// The first slot of a kind, or -1.
int SlotOf(const int* kinds, int slots, int kind)
{
    for (int i = 0; i < slots; ++i) {
        if (kinds[i] == kind) {
            return i;
        }
    }
    return -1;
}

// The kinds that either record holds in an array.
std::set<int> KindsIn(const int* a, const int* b, int slots)
{
    std::set<int> kinds;
    for (int i = 0; i < slots; ++i) {
        if (a[i] > 0) {
            kinds.insert(a[i]);
        }
        if (b[i] > 0) {
            kinds.insert(b[i]);
        }
    }
    return kinds;
}

// A value of a slot array by kind, as an export text ("" when the record has no slot of it).
template <std::size_t W> std::string SlotText(const int* kinds, const char (*values)[W], int slots, int kind)
{
    const int i = SlotOf(kinds, slots, kind);
    return i < 0 ? std::string() : FromRecordText(values[i]);
}

// Applies the changed values of a typed array (e-mails, phones, web sites, IM addresses).
template <typename Kind, std::size_t W>
void ApplyTyped(std::vector<GTyped<Kind>>& elems, const int* sKinds, const char (*sValues)[W],
                const int* lKinds, const char (*lValues)[W], int slots)
{
    for (int kind : KindsIn(sKinds, lKinds, slots)) {
        const std::string now = SlotText(sKinds, sValues, slots, kind);
        if (now == SlotText(lKinds, lValues, slots, kind)) {
            continue;
        }
        auto it = std::find_if(elems.begin(), elems.end(),
                               [&](const GTyped<Kind>& e) { return static_cast<int>(e.kind) == kind; });
        if (now.empty()) {
            if (it != elems.end()) {
                elems.erase(it);
            }
        } else if (it != elems.end()) {
            it->value = now;
        } else {
            GTyped<Kind> added;
            added.kind = static_cast<Kind>(kind);
            added.value = now;
            elems.push_back(std::move(added));
        }
    }
}

// Marks the element whose value is the submitted primary value as the primary one, when the
// primary value changed and an element holds it.
template <typename Kind>
void ApplyPrimary(std::vector<GTyped<Kind>>& elems, const std::string& now, const std::string& loaded)
{
    if (now == loaded || now.empty()) {
        return;
    }
    auto it = std::find_if(elems.begin(), elems.end(), [&](const GTyped<Kind>& e) { return e.value == now; });
    if (it == elems.end()) {
        return;
    }
    for (GTyped<Kind>& e : elems) {
        e.primary = &e == &*it;
    }
}

void ApplyText(std::string& field, const char* now, const char* loaded, std::size_t capacity)
{
    if (strncmp(now, loaded, capacity) != 0) {
        field = FromRecordText(now, capacity);
    }
}

} // namespace

void ContactToRecord(const GContact& c, GGAddrRec& r)
{
    std::memset(&r, 0, sizeof r);
    r.ChangeMark = 1;
    ToRecordText(c.firstName, r.FirstName);
    ToRecordText(c.middleName, r.MiddleName);
    ToRecordText(c.lastName, r.LastName);
    ToRecordText(c.displayName, r.DisplayName);
    ToRecordText(c.nickname, r.NickName);
    ToRecordText(c.company, r.Company);
    ToRecordText(c.jobTitle, r.JobTitle);

    auto typedKind = [](const auto& e) { return static_cast<int>(e.kind); };
    auto typedWrite = [](const auto& e, int, auto& buffer) { ToRecordText(e.value, buffer); };
    FillSlots(c.emails, r.EmailKinds, r.Emails, GGEmailSlots, typedKind, typedWrite);
    FillSlots(c.phones, r.PhoneKinds, r.Phones, GGPhoneSlots, typedKind, typedWrite);
    FillSlots(c.webSites, r.WebSiteKinds, r.WebSites, GGWebSiteSlots, typedKind, typedWrite);
    FillSlots(c.ims, r.IMKinds, r.IMs, GGIMSlots, typedKind, typedWrite);
    if (const GEmail* p = PrimaryOf(c.emails)) {
        ToRecordText(p->value, r.PrimaryEmail);
    }
    if (const GPhone* p = PrimaryOf(c.phones)) {
        ToRecordText(p->value, r.PrimaryPhone);
    }
    if (const GWebSite* p = PrimaryOf(c.webSites)) {
        ToRecordText(p->value, r.PrimaryWebSite);
    }
    if (const GIm* p = PrimaryOf(c.ims)) {
        ToRecordText(p->value, r.PrimaryIM);
    }
    FillSlots(c.addresses, r.AddressKinds, r.FormattedAddresses, GGAddressSlots, typedKind,
              [&r](const GAddress& a, int slot, auto& formatted) {
                  ToRecordText(a.formatted, formatted);
                  ToRecordText(a.city, r.Cities[slot]);
                  ToRecordText(a.region, r.States[slot]);
                  ToRecordText(a.country, r.Countries[slot]);
                  ToRecordText(a.postalCode, r.PostalCodes[slot]);
                  ToRecordText(a.street, r.Streets[slot]);
                  ToRecordText(a.poBox, r.POBoxes[slot]);
                  ToRecordText(a.neighborhood, r.Neighborhoods[slot]);
              });
    for (std::size_t i = 0; i < c.customFields.size() && i < GGCustomSlots; ++i) {
        ToRecordText(c.customFields[i].label, r.CustomLabels[i]);
        ToRecordText(c.customFields[i].value, r.CustomFields[i]);
    }
    int slot = 0;
    for (const GDate& d : c.dates) {
        const double ole = DateToOle(d.year == 0 ? kNoYear : d.year, d.month, d.day);
        if (ole != 0 && slot < GGDateSlots) {
            r.DateKinds[slot] = static_cast<int>(d.kind);
            r.Dates[slot] = ole;
            ++slot;
        }
    }
    FillSlots(c.relations, r.RelationKinds, r.Relations, GGRelationSlots, typedKind,
              [](const GRelation& rel, int, auto& buffer) { ToRecordText(rel.name, buffer); });
    ToRecordText(c.uid, r.Kept38);
    ToRecordText(c.note, r.Note);
    ToRecordText(c.Category(), r.Category);
}

void ApplyRecord(const GGAddrRec& s, GContact& c)
{
    auto loaded = std::make_unique<GGAddrRec>();
    ContactToRecord(c, *loaded);
    const GGAddrRec& l = *loaded;
    ApplyText(c.firstName, s.FirstName, l.FirstName, sizeof s.FirstName);
    ApplyText(c.middleName, s.MiddleName, l.MiddleName, sizeof s.MiddleName);
    ApplyText(c.lastName, s.LastName, l.LastName, sizeof s.LastName);
    ApplyText(c.displayName, s.DisplayName, l.DisplayName, sizeof s.DisplayName);
    ApplyText(c.nickname, s.NickName, l.NickName, sizeof s.NickName);
    ApplyText(c.company, s.Company, l.Company, sizeof s.Company);
    ApplyText(c.jobTitle, s.JobTitle, l.JobTitle, sizeof s.JobTitle);
    ApplyText(c.note, s.Note, l.Note, sizeof s.Note);

    ApplyTyped(c.emails, s.EmailKinds, s.Emails, l.EmailKinds, l.Emails, GGEmailSlots);
    ApplyTyped(c.phones, s.PhoneKinds, s.Phones, l.PhoneKinds, l.Phones, GGPhoneSlots);
    ApplyTyped(c.webSites, s.WebSiteKinds, s.WebSites, l.WebSiteKinds, l.WebSites, GGWebSiteSlots);
    ApplyTyped(c.ims, s.IMKinds, s.IMs, l.IMKinds, l.IMs, GGIMSlots);
    ApplyPrimary(c.emails, FromRecordText(s.PrimaryEmail), FromRecordText(l.PrimaryEmail));
    ApplyPrimary(c.phones, FromRecordText(s.PrimaryPhone), FromRecordText(l.PrimaryPhone));
    ApplyPrimary(c.webSites, FromRecordText(s.PrimaryWebSite), FromRecordText(l.PrimaryWebSite));
    ApplyPrimary(c.ims, FromRecordText(s.PrimaryIM), FromRecordText(l.PrimaryIM));

    // Addresses: the seven parts of each kind (the formatted text is not written back).
    for (int kind : KindsIn(s.AddressKinds, l.AddressKinds, GGAddressSlots)) {
        const int si = SlotOf(s.AddressKinds, GGAddressSlots, kind);
        const int li = SlotOf(l.AddressKinds, GGAddressSlots, kind);
        struct Part
        {
            std::string GAddress::*field;
            std::string (*get)(const GGAddrRec&, int);
        };
        static const Part parts[] = {
            {&GAddress::street, [](const GGAddrRec& r, int i) { return FromRecordText(r.Streets[i]); }},
            {&GAddress::city, [](const GGAddrRec& r, int i) { return FromRecordText(r.Cities[i]); }},
            {&GAddress::region, [](const GGAddrRec& r, int i) { return FromRecordText(r.States[i]); }},
            {&GAddress::postalCode,
             [](const GGAddrRec& r, int i) { return FromRecordText(r.PostalCodes[i]); }},
            {&GAddress::country, [](const GGAddrRec& r, int i) { return FromRecordText(r.Countries[i]); }},
            {&GAddress::poBox, [](const GGAddrRec& r, int i) { return FromRecordText(r.POBoxes[i]); }},
            {&GAddress::neighborhood,
             [](const GGAddrRec& r, int i) { return FromRecordText(r.Neighborhoods[i]); }},
        };
        auto it = std::find_if(c.addresses.begin(), c.addresses.end(),
                               [&](const GAddress& a) { return static_cast<int>(a.kind) == kind; });
        bool anyNow = false;
        bool changed = false;
        for (const Part& p : parts) {
            const std::string now = si < 0 ? std::string() : p.get(s, si);
            const std::string was = li < 0 ? std::string() : p.get(l, li);
            anyNow = anyNow || !now.empty();
            changed = changed || now != was;
        }
        if (!changed) {
            continue;
        }
        if (!anyNow) {
            if (it != c.addresses.end()) {
                c.addresses.erase(it);
            }
            continue;
        }
        if (it == c.addresses.end()) {
            GAddress added;
            added.kind = static_cast<AddressKind>(kind);
            c.addresses.push_back(added);
            it = c.addresses.end() - 1;
        }
        for (const Part& p : parts) {
            const std::string now = si < 0 ? std::string() : p.get(s, si);
            const std::string was = li < 0 ? std::string() : p.get(l, li);
            if (now != was) {
                (*it).*(p.field) = now;
            }
        }
        it->formatted.clear(); // made again from the parts by whoever shows it
    }

    // Dates by kind.
    for (int kind : KindsIn(s.DateKinds, l.DateKinds, GGDateSlots)) {
        const int si = SlotOf(s.DateKinds, GGDateSlots, kind);
        const int li = SlotOf(l.DateKinds, GGDateSlots, kind);
        const double now = si < 0 ? 0 : s.Dates[si];
        const double was = li < 0 ? 0 : l.Dates[li];
        if (now == was) {
            continue;
        }
        auto it = std::find_if(c.dates.begin(), c.dates.end(),
                               [&](const GDate& d) { return static_cast<int>(d.kind) == kind; });
        int y = 0, m = 0, d = 0;
        if (!OleToDate(now, &y, &m, &d)) {
            if (it != c.dates.end()) {
                c.dates.erase(it);
            }
            continue;
        }
        if (it == c.dates.end()) {
            GDate added;
            added.kind = static_cast<DateKind>(kind);
            c.dates.push_back(added);
            it = c.dates.end() - 1;
        }
        it->year = y == kNoYear ? 0 : y;
        it->month = m;
        it->day = d;
    }

    // Relations by kind.
    for (int kind : KindsIn(s.RelationKinds, l.RelationKinds, GGRelationSlots)) {
        const std::string now = SlotText(s.RelationKinds, s.Relations, GGRelationSlots, kind);
        if (now == SlotText(l.RelationKinds, l.Relations, GGRelationSlots, kind)) {
            continue;
        }
        auto it = std::find_if(c.relations.begin(), c.relations.end(),
                               [&](const GRelation& r) { return static_cast<int>(r.kind) == kind; });
        if (now.empty()) {
            if (it != c.relations.end()) {
                c.relations.erase(it);
            }
        } else if (it != c.relations.end()) {
            it->name = now;
        } else {
            GRelation added;
            added.kind = static_cast<RelationKind>(kind);
            added.name = now;
            c.relations.push_back(added);
        }
    }

    // Custom fields by position.
    for (int i = 0; i < GGCustomSlots; ++i) {
        const std::string label = FromRecordText(s.CustomLabels[i]);
        const std::string value = FromRecordText(s.CustomFields[i]);
        if (label == FromRecordText(l.CustomLabels[i]) && value == FromRecordText(l.CustomFields[i])) {
            continue;
        }
        if (static_cast<std::size_t>(i) >= c.customFields.size()) {
            if (label.empty() && value.empty()) {
                continue;
            }
            c.customFields.resize(i + 1);
        }
        c.customFields[i].label = label;
        c.customFields[i].value = value;
    }
    std::erase_if(c.customFields, [](const GCustomField& f) { return f.label.empty() && f.value.empty(); });

    // The category names the groups.
    if (strncmp(s.Category, l.Category, sizeof s.Category) != 0) {
        c.groups.clear();
        const std::string text = FromRecordText(s.Category);
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(',', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            std::string name = text.substr(start, end - start);
            name.erase(0, name.find_first_not_of(' '));
            name.erase(name.find_last_not_of(' ') + 1);
            if (!name.empty()) {
                c.groups.push_back(GGroup{name, name == "My Contacts" || name == "Starred"});
            }
            start = end + 1;
        }
    }
}

namespace {

struct ExportFile
{
    std::string path;
    bool vcard = false;
    std::vector<GContact> contacts;
};

struct Account
{
    std::vector<ExportFile> files;
    // Where each contact is, by uid: the first file that holds it (an account archive puts a
    // contact into the file of each of its groups: it is served once).
    std::map<std::string, std::pair<std::size_t, std::size_t>> byUid;
    std::vector<std::pair<std::size_t, std::size_t>> order;
};

bool ReadAccount(HelperSession& session, const std::string& folder, Account& account)
{
    const std::vector<std::string> paths = FindExportFiles(folder, {".vcf", ".vcard", ".csv"});
    if (paths.empty()) {
        session.ReportError("The folder " + folder +
                            " holds no exported Google contacts: no vCard (.vcf) or Google CSV (.csv) "
                            "file was found in it.");
        return false;
    }
    for (const std::string& path : paths) {
        ExportFile file;
        file.path = path;
        std::string error;
        if (!ReadContactsFile(path, file.contacts, error)) {
            session.ReportError("The contacts file " + error + ".");
            return false;
        }
        const std::string lower = [&] {
            std::string s = path;
            std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return std::tolower(ch); });
            return s;
        }();
        file.vcard = !lower.ends_with(".csv");
        FW_LOG(2, "%s: %d contacts.", path.c_str(), static_cast<int>(file.contacts.size()));
        account.files.push_back(std::move(file));
    }
    for (std::size_t f = 0; f < account.files.size(); ++f) {
        for (std::size_t i = 0; i < account.files[f].contacts.size(); ++i) {
            if (account.byUid.emplace(account.files[f].contacts[i].uid, std::make_pair(f, i)).second) {
                account.order.emplace_back(f, i);
            }
        }
    }
    return true;
}

bool LoadContacts(HelperSession& session, Account& account)
{
    const int total = static_cast<int>(account.order.size());
    const char* what = "Loading Google contacts";
    const std::string recordPath = session.RecordPath();
    CxFile file;
    if (!file.Open(recordPath.c_str(), "wb")) {
        session.ReportError("Cannot write the record file " + recordPath + ".");
        return false;
    }
    bool ok = file.WriteInt(total);
    auto rec = std::make_unique<GGAddrRec>();
    int written = 0;
    bool stopped = !session.Progress(what, 0, total);
    for (const auto& [f, i] : account.order) {
        if (!ok || stopped) {
            break;
        }
        const platform::AnsiLossWatch loss;
        ContactToRecord(account.files[f].contacts[i], *rec);
        if (loss.Lost()) {
            session.NoteLossyRecord();
        }
        ok = SaveGGAddrRecord(file, *rec);
        ++written;
        stopped = !session.Progress(what, written, total);
    }
    if (stopped || !ok) {
        file.Close();
        std::remove(recordPath.c_str()); // half a record file must not pass for the export
        session.ReportError(stopped ? "Loading Google contacts was stopped."
                                    : "Cannot write the record file " + recordPath + ".");
        return false;
    }
    if (!file.Close()) {
        session.ReportError("Cannot write the record file " + recordPath + ".");
        return false;
    }
    FW_LOG(2, "Wrote %d Google contacts to %s", total, recordPath.c_str());
    return true;
}

bool SubmitContacts(HelperSession& session, const std::string& folder, Account& account)
{
    const std::string recordPath = session.RecordPath();
    CxFile file;
    std::vector<GGAddrRec> records;
    if (!file.Open(recordPath.c_str(), "rb") || !LoadGGAddrRecordFile(file, records)) {
        session.ReportError("The record file " + recordPath +
                            " cannot be read, or is damaged; nothing was changed.");
        return false;
    }
    std::set<std::size_t> changedFiles;
    std::size_t newFile = account.files.size();
    for (std::size_t f = 0; f < account.files.size(); ++f) {
        if (account.files[f].vcard) {
            newFile = f;
            break;
        }
    }
    int added = 0;
    int changed = 0;
    for (std::size_t n = 0; n < records.size(); ++n) {
        const GGAddrRec& rec = records[n];
        if (rec.ChangeMark != GGAddrChangeMarkSubmit) {
            continue;
        }
        if (rec.Action == GGAddrActionNew) {
            if (newFile == account.files.size()) {
                ExportFile created;
                created.path = folder + (folder.ends_with('/') ? "" : "/") + "contacts.vcf";
                created.vcard = true;
                account.files.push_back(std::move(created));
            }
            GContact contact;
            ApplyRecord(rec, contact);
            account.files[newFile].contacts.push_back(std::move(contact));
            AssignDerivedKeys(account.files[newFile].contacts);
            changedFiles.insert(newFile);
            ++added;
        } else if (rec.Action == GGAddrActionChanged) {
            const std::string uid = FromRecordText(rec.Kept38);
            bool found = false;
            for (std::size_t f = 0; f < account.files.size(); ++f) {
                for (GContact& contact : account.files[f].contacts) {
                    if (contact.uid != uid) {
                        continue;
                    }
                    if (!account.files[f].vcard) {
                        session.ReportError("The contact " + uid + " is in the Google CSV file " +
                                            account.files[f].path +
                                            ", which is read only here; nothing was changed. Export the "
                                            "contacts as vCard to change them.");
                        return false;
                    }
                    ApplyRecord(rec, contact);
                    changedFiles.insert(f);
                    found = true;
                }
            }
            if (!found) {
                session.ReportError("Record " + std::to_string(n + 1) + " names the contact " + uid +
                                    ", which the export does not hold; nothing was changed.");
                return false;
            }
            ++changed;
        } else {
            session.ReportError("Record " + std::to_string(n + 1) + " has the unknown action " +
                                std::to_string(rec.Action) + "; nothing was changed.");
            return false;
        }
    }
    for (std::size_t f : changedFiles) {
        std::string error;
        if (!WriteVCardFile(account.files[f].path, account.files[f].contacts, error)) {
            session.ReportError(error);
            return false;
        }
    }
    FW_LOG(2, "Google contacts: %d added, %d changed.", added, changed);
    return true;
}

} // namespace

int RunGoogleContactsHelper(int argc, char** argv)
{
    return RunExportHelper(argc, argv, GGAddrFiles.controlFile, "Google contacts",
                           [](HelperSession& session, const std::string& folder, bool load) {
                               Account account;
                               if (!ReadAccount(session, folder, account)) {
                                   return;
                               }
                               if (load) {
                                   LoadContacts(session, account);
                               } else {
                                   SubmitContacts(session, folder, account);
                               }
                           });
}

} // namespace gexport
