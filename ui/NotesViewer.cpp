#include "ui/NotesViewer.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "lotus/LNProtocol.h"
#include "misc/CxDateTime.h"
#include "notes/NotesStore.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "ui/ContactCaption.h"

namespace {

struct Sheet
{
    const char* Caption;
    NotesItemKind Kind;
    const char* Database;
    std::vector<const char*> Fields;
    std::vector<const char*> Captions;
};

const Sheet kSheets[4] = {
    {"Contacts",
     NotesItemKind::Contacts,
     "names.nsf",
     {"DisplayName", "BusinessEmail", "PrimaryPhone", "Company", "JobTitle"},
     {"Name", "E-mail", "Phone", "Company", "Job Title"}},
    {"Calendar",
     NotesItemKind::Calendar,
     "mail.nsf",
     {"Subject", "Start", "End", "Location"},
     {"Subject", "Start", "End", "Location"}},
    {"Tasks",
     NotesItemKind::Tasks,
     "mail.nsf",
     {"Subject", "DueDate", "Priority", "Body"},
     {"Subject", "Due", "Priority", "Body"}},
    {"Notes", NotesItemKind::Notes, "notebook.nsf", {"Title", "Body"}, {"Title", "Body"}},
};

const LNFieldDesc* FindField(NotesItemKind kind, const char* name)
{
    for (const LNFieldDesc& field : NotesStore::Fields(kind)) {
        if (std::strcmp(field.Name, name) == 0) {
            return &field;
        }
    }
    return nullptr;
}

QString FieldText(const LNFieldDesc& field, const unsigned char* rec)
{
    const unsigned char* at = rec + field.Offset;
    switch (field.Kind) {
    case LNFieldKind::Text: {
        const auto* text = reinterpret_cast<const char*>(at);
        const std::u16string wide = platform::AnsiToUtf16(
            std::string_view(text, strnlen(text, static_cast<std::size_t>(field.Capacity))));
        return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
    }
    case LNFieldKind::Date: {
        double date = 0;
        std::memcpy(&date, at, sizeof date);
        if (date == 0) {
            return QString();
        }
        char buffer[64];
        return QString::fromLatin1(CxDateTime(date).FormatDateTime(buffer));
    }
    case LNFieldKind::Integer:
    case LNFieldKind::Boolean: {
        int value = 0;
        std::memcpy(&value, at, sizeof value);
        return QString::number(value);
    }
    }
    return QString();
}

template <std::size_t N> QString Text(const char (&field)[N])
{
    const std::u16string wide = platform::AnsiToUtf16(std::string_view(field, strnlen(field, N)));
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

// A contact is listed by its display name; one without goes by its name, company or e-mail
// address, as on the comparison page, rather than as a blank row.
QString ContactName(const unsigned char* rec)
{
    LNAddrRec r;
    std::memcpy(&r, rec, sizeof r);
    return ContactCaption(Text(r.DisplayName), {Text(r.FirstName), Text(r.MiddleName), Text(r.LastName)},
                          Text(r.Company),
                          {Text(r.BusinessEmail), Text(r.PersonalEmail), Text(r.ThirdEmail),
                           Text(r.BusinessEmail2), Text(r.PersonalEmail2)});
}

constexpr std::size_t kLargestRecord =
    std::max({sizeof(LNAddrRec), sizeof(LNDateRec), sizeof(LNTaskRec), sizeof(LNNoteRec)});

} // namespace

std::string NotesViewer::RegisteredDataFolder()
{
    char folder[1024] = {};
    if (!platform::RegQueryString(platform::RegistryHive::CurrentUser, LNInstallerKey, LNDataFolderValue,
                                  folder, sizeof folder)) {
        return std::string();
    }
    std::string result = folder;
    if (!result.empty() && result.back() != '/') {
        result += '/';
    }
    return result;
}

NotesViewer::NotesViewer(const std::string& dataFolder, QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Lotus Notes (read only)"));
    auto* layout = new QVBoxLayout(this);
    auto* folder = new QLabel(QString::fromStdString(dataFolder), this);
    folder->setObjectName(QStringLiteral("lblFolder"));
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(folder);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabsDatabases"));
    layout->addWidget(m_tabs, 1);

    for (int kind = 0; kind < 4; ++kind) {
        const Sheet& sheet = kSheets[kind];
        auto* page = new QWidget(m_tabs);
        auto* pageLayout = new QVBoxLayout(page);
        auto* search = new QLineEdit(page);
        search->setObjectName(QStringLiteral("edtSearch%1").arg(kind));
        search->setPlaceholderText(QStringLiteral("Search"));
        search->setClearButtonEnabled(true);
        pageLayout->addWidget(search);

        m_tables[kind] = new QStandardItemModel(0, static_cast<int>(sheet.Fields.size()), this);
        for (int column = 0; column < static_cast<int>(sheet.Fields.size()); ++column) {
            m_tables[kind]->setHeaderData(
                column, Qt::Horizontal,
                QString::fromLatin1(sheet.Captions[static_cast<std::size_t>(column)]));
        }
        auto* filter = new QSortFilterProxyModel(this);
        filter->setObjectName(QStringLiteral("filter%1").arg(kind));
        filter->setSourceModel(m_tables[kind]);
        filter->setFilterKeyColumn(-1);
        filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
        connect(search, &QLineEdit::textChanged, filter, &QSortFilterProxyModel::setFilterFixedString);

        auto* view = new QTreeView(page);
        view->setObjectName(QStringLiteral("lvItems%1").arg(kind));
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->setSortingEnabled(true);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setModel(filter);
        view->header()->setDefaultSectionSize(160);
        pageLayout->addWidget(view, 1);

        LoadTable(kind, dataFolder + sheet.Database);
        m_tabs->addTab(page, QString::fromLatin1(sheet.Caption));
    }
    if (!m_error.isEmpty()) {
        auto* error = new QLabel(m_error, this);
        error->setObjectName(QStringLiteral("lblError"));
        error->setWordWrap(true);
        layout->addWidget(error);
    }
    resize(800, 500);
}

void NotesViewer::LoadTable(int kind, const std::string& database)
{
    const Sheet& sheet = kSheets[kind];
    std::vector<const LNFieldDesc*> fields;
    for (const char* name : sheet.Fields) {
        fields.push_back(FindField(sheet.Kind, name));
    }
    NotesStore store;
    std::string error;
    int count = 0;
    if (!store.Open(database, error) || !store.BeginRead(sheet.Kind, &count, error)) {
        AddError(error);
        return;
    }
    std::vector<unsigned char> rec(kLargestRecord);
    for (;;) {
        std::fill(rec.begin(), rec.end(), 0);
        if (!store.Next(rec.data(), error)) {
            break;
        }
        QList<QStandardItem*> row;
        for (const LNFieldDesc* field : fields) {
            row.append(new QStandardItem(field != nullptr ? FieldText(*field, rec.data()) : QString()));
        }
        if (sheet.Kind == NotesItemKind::Contacts && !row.isEmpty()) {
            row.front()->setText(ContactName(rec.data()));
        }
        m_tables[kind]->appendRow(row);
    }
    store.EndRead();
    if (!error.empty()) {
        AddError(error);
    }
}

// Calendar and tasks share a database: its failure is told once.
void NotesViewer::AddError(const std::string& error)
{
    const QString line = QString::fromStdString(error);
    if (!m_error.split(QLatin1Char('\n')).contains(line)) {
        m_error += m_error.isEmpty() ? line : QLatin1Char('\n') + line;
    }
}
