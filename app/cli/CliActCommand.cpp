#include "cli/CliActCommand.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "ACT/ACTContactExport.h"
#include "act/ACTStore.h"
#include "platform/CodePage.h"
#include "platform/KnownFolders.h"

namespace {

int Fail(std::ostream& err, const std::string& text)
{
    err << "Error: " << text << "\n";
    return kCliExitFailed;
}

// The database a new .pad names: its own name with ".fwact" for ".pad", beside it.
std::string DatabaseNameFor(const std::string& pad)
{
    const std::size_t slash = pad.rfind('/');
    std::string name = slash == std::string::npos ? pad : pad.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name + ".fwact";
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

int RunActImportCommand(const CliArguments& args, std::istream& input, std::ostream& out, std::ostream& err)
{
    std::string password;
    if (args.actUser) {
        std::getline(input, password);
        if (!password.empty() && password.back() == '\r') {
            password.pop_back();
        }
        password = platform::Utf8ToAnsi(password);
    }
    const std::string user = args.actUser ? platform::Utf8ToAnsi(*args.actUser) : std::string();

    // The export first: a file that cannot be read changes nothing.
    ACTContactExport contacts;
    std::string error;
    if (!ReadACTContactExportFile(args.importFile, contacts, error)) {
        return Fail(err, error + "; nothing was imported.");
    }
    for (const std::string& warning : contacts.warnings) {
        err << args.importFile << ": " << warning << "\n";
    }

    // Absolute, so that the helpers, which run in the program's folder, find it as well.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(args.actPad, ec);
    const std::string pad = ec ? args.actPad : absolute.lexically_normal().string();
    std::string database;
    const bool newPad = !platform::FileExists(pad);
    if (newPad) {
        if (platform::FolderExists(pad)) {
            return Fail(err, pad + " is a folder, not an ACT! database file.");
        }
        const std::string name = DatabaseNameFor(pad);
        // A new database may go into a new folder (~/ACT on a machine that never had ACT!).
        if (const std::string folder = FolderOf(pad); !folder.empty() && !platform::FolderExists(folder)) {
            std::filesystem::create_directories(folder, ec);
            if (ec) {
                return Fail(err, "Cannot make the folder " + folder +
                                     " of the ACT! database: " + ec.message() + ". Nothing was imported.");
            }
        }
        database = FolderOf(pad) + name;
        if (!platform::FileExists(database) && !ACTStore::Create(database, error)) {
            return Fail(err, error);
        }
        if (!ACTStore::WritePad(pad, name, error)) {
            return Fail(err, error);
        }
        out << "Made the ACT! database " << database << " and " << pad << ".\n";
    } else if (!ACTStore::ResolvePad(pad, database, error)) {
        return Fail(err, error + " Nothing was imported.");
    }

    ACTStore store;
    if (!store.Open(database, error)) {
        return Fail(err, error + " Nothing was imported.");
    }
    const bool hasUsers = store.HasUsers(error);
    if (!error.empty()) {
        return Fail(err, error + " Nothing was imported.");
    }
    if (hasUsers && !args.actUser) {
        return Fail(err, "The ACT! database " + database +
                             " needs a login: give --user NAME. Nothing was imported.");
    }
    if (hasUsers && !store.Login(user, password, error)) {
        return Fail(err, error + " Nothing was imported.");
    }
    if (!store.BeginWrite(ACTItemKind::Contacts, error)) {
        return Fail(err, error + " Nothing was imported.");
    }
    // A database without users gets the one named, in the same transaction as the contacts.
    if (!hasUsers && args.actUser && !store.AddUser(user, password, error)) {
        store.Rollback();
        return Fail(err, error + " Nothing was imported.");
    }
    for (const ACTAddrRec& rec : contacts.contacts) {
        if (!store.Insert(&rec, nullptr, error)) {
            store.Rollback();
            return Fail(err, error + " Nothing was imported.");
        }
    }
    if (!store.CommitWrite(error)) {
        return Fail(err, error + " Nothing was imported.");
    }
    out << "Imported " << contacts.contacts.size()
        << (contacts.contacts.size() == 1 ? " contact" : " contacts") << " into " << database << ".\n";
    return kCliExitOk;
}
