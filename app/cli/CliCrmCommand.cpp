#include "cli/CliCrmCommand.h"

#include <string>

#include "crm/CrmStore.h"
#include "platform/CodePage.h"

namespace {

// One line of input as the helpers get it from the settings: in the ANSI code page, without
// its line end.
std::string ReadSecret(std::istream& input)
{
    std::string line;
    std::getline(input, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return platform::Utf8ToAnsi(line);
}

crm::Family FamilyOf(AppKind kind)
{
    return kind == kAppSalesForce ? crm::Family::SalesForce
           : kind == kAppSugarCRM ? crm::Family::SugarCRM
                                  : crm::Family::Dynamics;
}

} // namespace

int RunCrmCommand(const CliArguments& args, std::istream& input, std::ostream& out, std::ostream& err)
{
    const crm::Family family = FamilyOf(args.source);
    const std::string password = ReadSecret(input);
    const std::string token = family == crm::Family::SalesForce ? ReadSecret(input) : std::string();
    if (password.empty()) {
        err << "ferrywise-cli: no password on standard input (its first line)\n";
        return kCliExitUsage;
    }
    if (family == crm::Family::SalesForce && token.empty()) {
        err << "ferrywise-cli: no security token on standard input (its second line)\n";
        return kCliExitUsage;
    }
    // The helpers see the user name and the server as the settings hold them: ANSI.
    const std::string user = platform::Utf8ToAnsi(args.crmUser);
    std::string path;
    std::string error;
    crm::Store store;
    bool replaced = false;
    if (!crm::Store::DatabasePath(family, platform::Utf8ToAnsi(args.crmHost),
                                  platform::Utf8ToAnsi(args.crmOrganisation), path, error) ||
        !store.Open(family, path, true, error) ||
        !store.SetAccount(user, password, token, &replaced, error)) {
        err << "ferrywise-cli: " << error << "\n";
        return kCliExitFailed;
    }
    out << (replaced ? "Changed the secrets of " : "Added ") << CliAppKindName(args.source) << " user "
        << args.crmUser << " (" << path << ").\n";
    return kCliExitOk;
}
