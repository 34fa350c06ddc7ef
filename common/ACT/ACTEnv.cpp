#include "ACT/ACTEnv.h"

#include "platform/KnownFolders.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

// Names in a folder, of folders or of other files, in byte order.
std::vector<std::string> SortedNames(const std::string& folder, bool folders)
{
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        bool isFolder = it->is_directory(typeError);
        if (typeError || isFolder != folders) {
            continue;
        }
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool EndsWithNoCase(const std::string& text, std::string_view ending)
{
    if (text.size() < ending.size()) {
        return false;
    }
    return std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char a, char b) {
                          auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
                          return lower(a) == lower(b);
                      });
}

} // namespace

bool GetDefaultACTDatabase(std::string& path)
{
    path.clear();
    std::string documents;
    if (!platform::GetDocumentsFolder(documents) || documents.empty()) {
        return false;
    }
    while (documents.size() > 1 && documents.back() == platform::kPathSeparator) {
        documents.pop_back();
    }
    const std::string actFolder = documents + "/ACT";
    // The first qualifying folder is taken as the ACT! folder; later ones are not searched.
    for (const std::string& name : SortedNames(actFolder, true)) {
        if (name.size() <= 1 || name.back() == '.') {
            continue;
        }
        const std::string databases = actFolder + "/" + name + "/Databases";
        for (const std::string& file : SortedNames(databases, false)) {
            if (EndsWithNoCase(file, ".pad")) {
                path = databases + "/" + file;
                return true;
            }
        }
        return false;
    }
    return false;
}
