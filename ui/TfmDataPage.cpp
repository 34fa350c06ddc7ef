#include "ui/TfmDataPage.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/MigrationDriver.h"
#include "engine/MigrationFlow.h"
#include "misc/Settings.h"
#include "platform/CodePage.h"
#include "ui/CompareModel.h"
#include "ui/EngineRunner.h"

namespace {

struct TabInfo
{
    const char* Sheet;
    const char* Caption;
    const char* List;
    const char* Count;
    const char* CountFormat;
    const char* Lossy; // records whose texts lost characters to the code page
};

constexpr TabInfo kTabs[kDataTypeCount] = {
    {"tAddr", "Contacts", "lvAddr", "lblAddrCount", "%1 Contact records in total", "lblAddrLossy"},
    {"tDate", "Calendar", "lvDate", "lblDateCount", "%1 Calendar records in total", "lblDateLossy"},
    {"tTask", "Task", "lvTask", "lblTaskCount", "%1 Task records in total", "lblTaskLossy"},
    {"tNote", "Notes", "lvNote", "lblNoteCount", "%1 Note records in total", "lblNoteLossy"},
};

// The legend of the row colours, in the order New, Diff, Same.
struct LegendInfo
{
    const char* Swatch;
    const char* Label;
    const char* Text;
};

constexpr LegendInfo kLegend[3] = {
    {"imgNewColor", "lblNewColor", "New: not in Lotus Notes yet"},
    {"imgDiffColor", "lblDiffColor", "Diff: in Lotus Notes, but different"},
    {"imgSameColor", "lblSameColor", "Same: already in Lotus Notes"},
};

// A column whose texts are longer than this shows their start (the tool tip has all of it),
// unless the design gives it more.
constexpr int kWidestColumn = 400;
// Room beside a cell's text, as a list view leaves it.
constexpr int kColumnPadding = 12;

QPixmap Swatch(const QColor& color, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0, 0, 0, 96));
    painter.drawRect(0, 0, size - 1, size - 1);
    return pixmap;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfmDataPage::TfmDataPage(AppKind source, QWidget* parent) : TfmPage(parent), m_source(source)
{
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pData"));
    layout->addWidget(m_tabs, 1);

    for (DataType type : kAllDataTypes) {
        const TabInfo& info = kTabs[type];
        auto* sheet = new QWidget(m_tabs);
        sheet->setObjectName(QString::fromLatin1(info.Sheet));
        auto* sheetLayout = new QVBoxLayout(sheet);

        auto* model = new CompareModel(type, this);
        model->setObjectName(QString::fromLatin1(info.List) + QStringLiteral("Model"));
        auto* list = new QTreeView(sheet);
        list->setObjectName(QString::fromLatin1(info.List));
        list->setRootIsDecorated(false);
        list->setItemsExpandable(false);
        // Every row is one line high: the view need not measure 100,000 rows.
        list->setUniformRowHeights(true);
        list->setAllColumnsShowFocus(true);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setModel(model);
        list->header()->setStretchLastSection(false);
        for (int column = 0; column < CompareModel::ColumnCount(type); ++column) {
            list->header()->resizeSection(column, CompareModel::ColumnWidth(type, column));
        }
        list->viewport()->installEventFilter(this);
        // Enter on the selected row opens it as a double-click does.
        list->installEventFilter(this);
        connect(list, &QTreeView::doubleClicked, this, [this, type] { OnDoubleClicked(type); });
        sheetLayout->addWidget(list, 1);

        auto* count = new QLabel(sheet);
        count->setObjectName(QString::fromLatin1(info.Count));
        sheetLayout->addWidget(count);
        auto* lossy = new QLabel(sheet);
        lossy->setObjectName(QString::fromLatin1(info.Lossy));
        lossy->setWordWrap(true);
        QPalette warning = lossy->palette();
        warning.setColor(QPalette::WindowText, QColor(192, 0, 0));
        lossy->setPalette(warning);
        lossy->hide();
        sheetLayout->addWidget(lossy);
        auto* hint = new QLabel(
            QStringLiteral(
                "You may double click the items in the above list to see more detail record information."),
            sheet);
        hint->setWordWrap(true);
        sheetLayout->addWidget(hint);

        m_tabs->addTab(sheet, QString::fromLatin1(info.Caption));
        m_sheets[type] = sheet;
        m_lists[type] = list;
        m_models[type] = model;
        m_counts[type] = count;
        m_lossy[type] = lossy;
    }

    // What the row colours mean, in the colours of the settings (UpdateLegend).
    auto* legend = new QHBoxLayout();
    legend->setSpacing(6);
    for (int i = 0; i < 3; ++i) {
        auto* swatch = new QLabel(this);
        swatch->setObjectName(QString::fromLatin1(kLegend[i].Swatch));
        auto* label = new QLabel(QString::fromLatin1(kLegend[i].Text), this);
        label->setObjectName(QString::fromLatin1(kLegend[i].Label));
        m_legend[i] = label;
        legend->addWidget(swatch);
        legend->addWidget(label);
        legend->addSpacing(18);
    }
    legend->addStretch(1);
    layout->addLayout(legend);
    UpdateLegend(g_Settings());

    auto* buttons = new QHBoxLayout();
    QPushButton* refresh = MakeButton(this, "btnRefresh", "&Refresh");
    QPushButton* selAll = MakeButton(this, "btnSelAll", "Select &All");
    QPushButton* clear = MakeButton(this, "btnClear", "C&lear Selection");
    QPushButton* selDiff = MakeButton(this, "btnSelDiff", "Select &Diff");
    buttons->addWidget(refresh);
    buttons->addStretch(1);
    buttons->addWidget(selAll);
    buttons->addWidget(clear);
    buttons->addWidget(selDiff);
    layout->addLayout(buttons);
    connect(refresh, &QPushButton::clicked, this, &TfmDataPage::Refresh);
    connect(selAll, &QPushButton::clicked, this, &TfmDataPage::SelectAll);
    connect(clear, &QPushButton::clicked, this, &TfmDataPage::ClearSelection);
    connect(selDiff, &QPushButton::clicked, this, &TfmDataPage::SelectDiff);
}

bool TfmDataPage::IsTypeVisible(DataType type) const
{
    return SyncSwitch(g_Settings(), type) && OffersType(type);
}

void TfmDataPage::EnterPage()
{
    const FWSettings& settings = g_Settings();
    for (DataType type : kAllDataTypes) {
        const bool visible = IsTypeVisible(type);
        m_tabs->setTabVisible(m_tabs->indexOf(m_sheets[type]), visible);
        m_models[type]->SetColors(settings.NewColor, settings.DiffColor, settings.SameColor);
        UpdateLegend(settings);
        if (visible) {
            FillTab(type);
        } else {
            // A hidden list must not keep pointers into a store that may since have gone.
            m_models[type]->Clear();
            UpdateCount(type);
        }
    }
    for (DataType type : kAllDataTypes) {
        if (IsTypeVisible(type)) {
            m_tabs->setCurrentWidget(m_sheets[type]);
            break;
        }
    }
}

void TfmDataPage::FillTab(DataType type)
{
    CxConnector* connector = ConnectorRegistry::Instance().Get(m_source, type);
    QTreeView* list = m_lists[type];
    list->setUpdatesEnabled(false);
    // Without a connector the list is emptied rather than left pointing at records of a
    // connector that has been destroyed.
    m_models[type]->Fill(connector);
    FitColumns(type);
    list->setUpdatesEnabled(true);
    UpdateCount(type);
    const std::string lossy =
        connector != nullptr
            ? MigrationFlow::LossyRecordsText(m_source, type, connector->GetLossyRecordCount())
            : std::string();
    m_lossy[type]->setText(QString::fromStdString(platform::AnsiToUtf8(lossy)));
    m_lossy[type]->setVisible(!lossy.empty());
}

void TfmDataPage::FitColumns(DataType type)
{
    QTreeView* list = m_lists[type];
    QHeaderView* header = list->header();
    const int columns = CompareModel::ColumnCount(type);
    for (int column = 0; column < columns; ++column) {
        const int design = CompareModel::ColumnWidth(type, column);
        // The view measures at most the header's precision in rows (1000), not every record.
        const QAbstractItemView* view = list; // QTreeView keeps its override protected
        int wanted =
            std::max(view->sizeHintForColumn(column), header->sectionSizeHint(column)) + kColumnPadding;
        wanted = std::max(design, std::min(wanted, std::max(design, kWidestColumn)));
        header->resizeSection(column, wanted);
        if (column == columns - 1) {
            m_lastWanted[type] = wanted;
        }
    }
    FillLastColumn(type);
}

void TfmDataPage::FillLastColumn(DataType type)
{
    QTreeView* list = m_lists[type];
    QHeaderView* header = list->header();
    const int last = CompareModel::ColumnCount(type) - 1;
    if (last < 0 || m_lastWanted[type] == 0) {
        return;
    }
    int others = 0;
    for (int column = 0; column < last; ++column) {
        others += header->sectionSize(column);
    }
    header->resizeSection(last, std::max(m_lastWanted[type], list->viewport()->width() - others));
}

bool TfmDataPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (DataType type : kAllDataTypes) {
            if (watched == m_lists[type] && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                OnDoubleClicked(type);
                return true;
            }
        }
    }
    if (event->type() == QEvent::Resize) {
        for (DataType type : kAllDataTypes) {
            if (watched == m_lists[type]->viewport()) {
                FillLastColumn(type);
            }
        }
    }
    return TfmPage::eventFilter(watched, event);
}

void TfmDataPage::UpdateLegend(const FWSettings& settings)
{
    const int colors[3] = {settings.NewColor, settings.DiffColor, settings.SameColor};
    for (int i = 0; i < 3; ++i) {
        const QColor color = CompareModel::FromColorRef(colors[i]);
        QPalette palette = m_legend[i]->palette();
        palette.setColor(QPalette::WindowText, color);
        m_legend[i]->setPalette(palette);
        const int size = m_legend[i]->fontMetrics().height() - 4;
        if (auto* swatch = findChild<QLabel*>(QString::fromLatin1(kLegend[i].Swatch))) {
            swatch->setPixmap(Swatch(color, std::max(size, 8)));
        }
    }
}

void TfmDataPage::UpdateCount(DataType type)
{
    m_counts[type]->setText(QString::fromLatin1(kTabs[type].CountFormat).arg(m_models[type]->rowCount()));
}

void TfmDataPage::SelectAll()
{
    for (DataType type : kAllDataTypes) {
        if (IsTypeVisible(type)) {
            m_models[type]->TickAll(true);
        }
    }
}

void TfmDataPage::ClearSelection()
{
    for (DataType type : kAllDataTypes) {
        if (IsTypeVisible(type)) {
            m_models[type]->TickAll(false);
        }
    }
}

void TfmDataPage::SelectDiff()
{
    for (DataType type : kAllDataTypes) {
        if (IsTypeVisible(type)) {
            m_models[type]->TickDiff();
        }
    }
}

bool TfmDataPage::ReloadType(DataType type, ParentWindow /*parent*/)
{
    CxConnector* connector = ConnectorRegistry::Instance().Get(m_source, type);
    if (connector == nullptr) {
        return true;
    }
    connector->Clear();
    return connector->Load();
}

void TfmDataPage::Refresh()
{
    bool visible[kDataTypeCount] = {};
    for (DataType type : kAllDataTypes) {
        visible[type] = IsTypeVisible(type);
        // The rows point into the stores the reload clears: the lists let go of them first,
        // so that nothing draws a freed record while the engine thread works.
        if (visible[type]) {
            m_models[type]->Clear();
        }
    }
    QWidget* wizard = window();
    ParentWindow parent = wizard;
    RunOffGuiThread(wizard, [this, &visible, parent] {
        bool ok = true;
        for (DataType type : kAllDataTypes) {
            if (visible[type]) {
                ok = ReloadType(type, parent) && ok;
            }
        }
        return ok;
    });
    // A failed reload shows what the connector still holds; the flow has said what went wrong.
    for (DataType type : kAllDataTypes) {
        if (visible[type]) {
            FillTab(type);
        }
    }
}

void TfmDataPage::CollectSelection()
{
    ConnectorRegistry& registry = ConnectorRegistry::Instance();
    for (DataType type : kAllDataTypes) {
        if (SelectionList* selection = registry.GetSelectionList(type)) {
            selection->RemoveAll();
        }
    }
    for (DataType type : kAllDataTypes) {
        SelectionList* selection = registry.GetSelectionList(type);
        if (selection == nullptr || !IsTypeVisible(type)) {
            continue;
        }
        const CompareModel* model = m_models[type];
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->IsTicked(row)) {
                selection->Append(RecordAddress(model->RecordAt(row)));
            }
        }
    }
}

bool TfmDataPage::LeavePage()
{
    CollectSelection();
    QWidget* wizard = window();
    ParentWindow parent = wizard;
    return RunOffGuiThread(wizard, [parent] { return SubmitSelection(parent, kAppNotes); });
}

void TfmDataPage::hideEvent(QHideEvent* event)
{
    // A minimised wizard keeps its lists.
    if (!event->spontaneous()) {
        for (DataType type : kAllDataTypes) {
            m_models[type]->Clear();
            UpdateCount(type);
        }
    }
    TfmPage::hideEvent(event);
}

void TfmDataPage::OnDoubleClicked(DataType type)
{
    const QModelIndexList rows = m_lists[type]->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return;
    }
    const CommRecordPtr record = m_models[type]->RecordAt(rows.front().row());
    if (RecordAddress(record) != nullptr) {
        OpenDetail(type, record, ConnectorRegistry::Instance().Get(m_source, type));
    }
}

void TfmDataPage::OpenDetail(DataType type, const CommRecordPtr& record, CxConnector* connector)
{
    emit DetailRequested(type, record, connector);
}
