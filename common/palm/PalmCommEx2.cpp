#include "palm/PalmCommEx2.h"

#include <algorithm>

#include "misc/CxDebugUtil.h"
#include "palm/PalmDataModule.h"
#include "palm/PalmEnv.h"
#include "platform/CodePage.h"

namespace {

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The readers' base

PmDBEx2Util::PmDBEx2Util()
    : m_categories(std::make_unique<PmCategoryEx2Mgr>()), m_info(std::make_unique<PmInfoEx2>())
{
}

PmDBEx2Util::~PmDBEx2Util() = default;

bool PmDBEx2Util::Open(int kind, const std::string& path)
{
    m_loadError.clear();
    if (!m_accessor) {
        m_accessor = std::make_unique<PmMDBAccessor>(&dmMain);
    }
    m_categories->SetAccessor(m_accessor.get());
    const bool opened = m_accessor->Open(kind, path);
    // Why, when the file itself cannot be read (or is empty, which the database library may
    // still open): the load then fails with this reason.
    m_loadError = PmReadProblem(path);
    if (!opened) {
        m_categories->Clear();
        return false;
    }
    LoadCategories();
    return true;
}

bool PmDBEx2Util::LoadCategories()
{
    FW_LOG(2, "Start loading Palm Desktop category information.");
    m_categories->Clear();
    if (!m_accessor) {
        return false;
    }
    static const PmColumnList kColumns = {"ID", "Name", "Status", "Color"};
    PmRow row;
    bool fetched = m_accessor->SelectFirst("Category", kColumns, row);
    while (fetched) {
        if (row.size() == kColumns.size()) {
            std::int32_t id = 0;
            std::int32_t status = 0;
            std::int32_t color = 0;
            PmEx2Int(row[0], id);
            PmEx2Int(row[2], status);
            PmEx2Int(row[3], color);
            const PmCategoryEx2 category(id, PmEx2Text(row[1], 256), status, color);
            FW_LOG(2, "Category loaded: %s", category.GetName().c_str());
            m_categories->Add(category);
        }
        fetched = m_accessor->SelectNext("Category", kColumns, row);
    }
    FW_LOG(2, "Categories information loaded successfully.");
    return true;
}

void PmDBEx2Util::LogWith(int level, FwLogText text, const std::string& value) const
{
    if (g_debugLog.Wants(level)) {
        FW_LOG_AT(level, text.file, text.line, "%s", (text.text + value).c_str());
    }
}

bool PmDBEx2Util::FindUserFile(const PmEx2Messages& messages, std::int32_t userId, const char* subFolder,
                               const char* fileName, std::string& path)
{
    LogWith(2, messages.loadingByUser, std::to_string(userId));
    std::string folder;
    if (!PmGetUserDataPath(userId, folder)) {
        Say(0, "Failed to get user database path by user ID.");
        m_loadError = "no Palm Desktop data folder for user " + std::to_string(userId);
        return false;
    }
    path = PmDataFilePath(folder, subFolder, fileName);
    LogWith(2, "Get user file successfully, try loading file:", path);
    return true;
}

bool PmDBEx2Util::GetCategoryName(std::int32_t id, std::string& name) const
{
    const PmCategoryEx2* category = m_categories->FindByID(id);
    if (category == nullptr) {
        name.clear();
        return false;
    }
    name = category->GetName().substr(0, kCategoryNameChars);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Column values into record fields

std::string PmEx2Text(const PmColumnValue& value, std::size_t width)
{
    if (value.GetKind() != PmColumnValue::kText || width == 0) {
        return {};
    }
    const std::string& text = value.GetText();
    // Most texts are plain ASCII, which reads the same in every ANSI code page.
    std::string ansi = IsAscii(text) ? text.substr(0, width - 1) : platform::Utf8ToAnsi(text);
    if (ansi.size() > width - 1) {
        ansi.resize(width - 1);
    }
    return ansi;
}

void PmEx2Int(const PmColumnValue& value, std::int32_t& field)
{
    std::int32_t number = 0;
    if (value.ToInteger(number)) {
        field = number;
    }
}

void PmEx2Bool(const PmColumnValue& value, std::int32_t& field)
{
    if (value.GetKind() == PmColumnValue::kBoolean) {
        field = value.GetBoolean() ? 1 : 0;
    }
}
