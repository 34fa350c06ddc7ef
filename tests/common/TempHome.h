#pragma once
// A temporary home for one test: its own folder, with XDG_CONFIG_HOME, XDG_DOCUMENTS_DIR,
// HOME and FERRYWISE_REGISTRY pointing into it, so that nothing touches the developer's own
// settings. Everything is removed and the environment restored when it goes.
#include <map>
#include <optional>
#include <string>

namespace fwtest {

class TempHome
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& relative) const { return m_root + "/" + relative; }
    std::string ConfigHome() const { return Path("config"); }
    std::string Documents() const { return Path("Documents"); }
    std::string RegistryFile() const { return Path("registry.ini"); }

    // Writes a file below the root (folders made as needed); gives its full path.
    std::string WriteFile(const std::string& relative, const std::string& contents) const;
    std::string ReadFile(const std::string& relative) const;

    // Sets an environment variable until the home goes, when its old value comes back.
    void SetEnv(const char* name, const std::string& value);

private:
    std::string m_root;
    std::map<std::string, std::optional<std::string>> m_saved;
};

} // namespace fwtest
