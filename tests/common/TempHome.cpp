#include "common/TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fwtest {

TempHome::TempHome()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "fwtest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    m_root = pattern;
    std::filesystem::create_directories(ConfigHome());
    std::filesystem::create_directories(Documents());
    SetEnv("HOME", m_root);
    SetEnv("XDG_CONFIG_HOME", ConfigHome());
    SetEnv("XDG_DATA_HOME", Path(".local/share"));
    SetEnv("XDG_DOCUMENTS_DIR", Documents());
    SetEnv("FERRYWISE_REGISTRY", RegistryFile());
}

TempHome::~TempHome()
{
    for (const auto& [name, value] : m_saved) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    std::error_code ignored;
    std::filesystem::permissions(m_root, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_root, ignored);
}

void TempHome::SetEnv(const char* name, const std::string& value)
{
    if (m_saved.find(name) == m_saved.end()) {
        const char* old = std::getenv(name);
        m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    setenv(name, value.c_str(), 1);
}

std::string TempHome::WriteFile(const std::string& relative, const std::string& contents) const
{
    std::filesystem::path path = Path(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    return path.string();
}

std::string TempHome::ReadFile(const std::string& relative) const
{
    std::ifstream in(Path(relative), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace fwtest
