// The comparison pages against fake source connectors: which tabs show, the row texts,
// colours and ticks, the buttons, Refresh, double-click and Enter (which the wizard answers with
// the record's detail dialog) and the collected selection.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/MigrationDriver.h"
#include "misc/Settings.h"
#include "ui/CompareModel.h"
#include "ui/TfmACTData.h"
#include "ui/TfmGGData.h"
#include "ui/TfmMain.h"
#include "ui/TfmOLData.h"
#include "ui/TfmPDData.h"

namespace {

const fwtest::PinnedLocale kPinned{"Europe/Berlin"}; // local times below are Berlin's, texts code page 1252

// One data type's records as a source would deliver them; Load puts fresh copies (Status
// Same, as after any load without comparison) into the store.
class FakeSource : public CxConnector
{
public:
    explicit FakeSource(DataType type) : m_type(type) {}

    bool Load() override
    {
        ++Loads;
        for (const CommAddrRec& r : Addr) {
            m_addr.Add(&r);
        }
        for (const CommDateRec& r : Date) {
            m_date.Add(&r);
        }
        for (const CommTaskRec& r : Task) {
            m_task.Add(&r);
        }
        for (const CommNoteRec& r : Note) {
            m_note.Add(&r);
        }
        return true;
    }
    void Clear() override
    {
        m_addr.Clear();
        m_date.Clear();
        m_task.Clear();
        m_note.Clear();
    }
    void Configure(const ConnectorConfig&) override {}
    int GetLossyRecordCount() const override { return m_type == kDataContacts ? LossyContacts : 0; }
    CommAddrMgr* GetAddrStore() override { return m_type == kDataContacts ? &m_addr : nullptr; }
    CommDateMgr* GetDateStore() override { return m_type == kDataCalendar ? &m_date : nullptr; }
    CommTaskMgr* GetTaskStore() override { return m_type == kDataTasks ? &m_task : nullptr; }
    CommNoteMgr* GetNoteStore() override { return m_type == kDataNotes ? &m_note : nullptr; }

    static inline std::vector<CommAddrRec> Addr;
    static inline std::vector<CommDateRec> Date;
    static inline std::vector<CommTaskRec> Task;
    static inline std::vector<CommNoteRec> Note;
    static inline int Loads = 0;
    static inline int LossyContacts = 0;

    CommAddrMgr m_addr;
    CommDateMgr m_date;
    CommTaskMgr m_task;
    CommNoteMgr m_note;

private:
    DataType m_type;
};

// The Lotus Notes side of a submit: counts what it is handed; Commit succeeds as told.
class FakeTarget : public CxConnector
{
public:
    bool Load() override { return true; }
    void Clear() override {}
    void Configure(const ConnectorConfig&) override {}
    bool Commit() override { return CommitResult; }
    bool SubmitRecord(const CommAddrRec&, bool) override { return ++Submitted, true; }
    bool SubmitRecord(const CommNoteRec&, bool) override { return ++Submitted, true; }

    static inline int Submitted = 0;
    static inline bool CommitResult = true;
};

template <class Rec> Rec Zeroed()
{
    Rec r;
    std::memset(&r, 0, sizeof r);
    return r;
}

CommAddrRec Contact(const char* name, const char* email)
{
    auto r = Zeroed<CommAddrRec>();
    std::strcpy(r.DisplayName, name);
    std::strcpy(r.FirstName, name);
    std::strcpy(r.Email, email);
    return r;
}

CommNoteRec Note(const char* body)
{
    auto r = Zeroed<CommNoteRec>();
    std::strcpy(r.Body, body);
    std::strcpy(r.Title, body);
    return r;
}

std::unique_ptr<TfmDataPage> MakePage(AppKind kind)
{
    switch (kind) {
    case kAppGoogle:
        return std::make_unique<TfmGGData>();
    case kAppACT:
        return std::make_unique<TfmACTData>();
    case kAppPalm:
        return std::make_unique<TfmPDData>();
    default:
        return std::make_unique<TfmOLData>();
    }
}

FakeSource* Source(AppKind kind, DataType type)
{
    return static_cast<FakeSource*>(ConnectorRegistry::Instance().GetOrCreate(kind, type));
}

void SetSwitches(bool addr, bool date, bool task, bool note)
{
    g_Settings().SyncAddr = addr;
    g_Settings().SyncDate = date;
    g_Settings().SyncTask = task;
    g_Settings().SyncNote = note;
}

std::vector<bool> Ticks(const CompareModel* model)
{
    std::vector<bool> ticks;
    for (int row = 0; row < model->rowCount(); ++row) {
        ticks.push_back(model->IsTicked(row));
    }
    return ticks;
}

} // namespace

Q_DECLARE_METATYPE(AppKind)

class ComparisonPageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<fwtest::TempHome> m_home;

    // Three contacts loaded and compared: New, Diff, Same in store order; one note, New.
    void LoadCompared(AppKind kind)
    {
        FakeSource::Addr = {Contact("Ann", "ann@example.org"), Contact("Bob", "bob@example.org"),
                            Contact("Cid", "cid@example.org")};
        FakeSource::Note = {Note("Shopping\r\nmilk")};
        FakeSource* addr = Source(kind, kDataContacts);
        addr->Load();
        const int statuses[] = {MatchNew, MatchDiff, MatchSame};
        int i = 0;
        for (CommAddrRec* r = addr->m_addr.First(); r != nullptr; r = addr->m_addr.Next()) {
            r->Status = statuses[i++];
        }
        FakeSource* note = Source(kind, kDataNotes);
        note->Load();
        note->m_note.First()->Status = MatchNew;
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<DataType>("DataType");
        qRegisterMetaType<CxConnector*>("CxConnector*");
    }

    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        BeginSession(fwtest::TestApps());
        FakeSource::Addr.clear();
        FakeSource::Date.clear();
        FakeSource::Task.clear();
        FakeSource::Note.clear();
        FakeSource::Loads = 0;
        for (AppKind kind : {kAppOutlook, kAppGoogle, kAppACT, kAppPalm}) {
            for (DataType type : kAllDataTypes) {
                fwtest::RegisterConnector(kind, type, [type] { return std::make_unique<FakeSource>(type); });
            }
        }
        for (DataType type : kAllDataTypes) {
            fwtest::RegisterConnector(kAppNotes, type, [] { return std::make_unique<FakeTarget>(); });
        }
        FakeTarget::Submitted = 0;
        FakeTarget::CommitResult = true;
        SetFlowPause(std::chrono::milliseconds(0));
        SetSwitches(true, true, true, true);
    }

    void cleanup()
    {
        EndSession(false);
        FakeSource::LossyContacts = 0;
        fwtest::UnregisterAllConnectors();
        m_home.reset();
    }

    void tabsFollowSwitchesAndSource_data()
    {
        QTest::addColumn<AppKind>("kind");
        QTest::addColumn<QList<bool>>("switches");
        QTest::addColumn<QList<bool>>("shown");
        QTest::newRow("outlook all") << kAppOutlook << QList<bool>{true, true, true, true}
                                     << QList<bool>{true, true, true, true};
        QTest::newRow("outlook contacts and notes")
            << kAppOutlook << QList<bool>{true, false, false, true} << QList<bool>{true, false, false, true};
        QTest::newRow("act calendar only")
            << kAppACT << QList<bool>{false, true, false, false} << QList<bool>{false, true, false, false};
        QTest::newRow("palm tasks") << kAppPalm << QList<bool>{false, false, true, false}
                                    << QList<bool>{false, false, true, false};
        QTest::newRow("google never tasks and notes")
            << kAppGoogle << QList<bool>{true, true, true, true} << QList<bool>{true, true, false, false};
    }

    void tabsFollowSwitchesAndSource()
    {
        QFETCH(AppKind, kind);
        QFETCH(QList<bool>, switches);
        QFETCH(QList<bool>, shown);
        SetSwitches(switches[0], switches[1], switches[2], switches[3]);
        auto page = MakePage(kind);
        page->EnterPage();
        auto* tabs = page->findChild<QTabWidget*>("pData");
        QVERIFY(tabs);
        const char* sheets[] = {"tAddr", "tDate", "tTask", "tNote"};
        const char* captions[] = {"Contacts", "Calendar", "Task", "Notes"};
        for (int i = 0; i < 4; ++i) {
            auto* sheet = page->findChild<QWidget*>(sheets[i]);
            QVERIFY(sheet);
            const int index = tabs->indexOf(sheet);
            QCOMPARE(index, i);
            QCOMPARE(tabs->tabText(index), QString(captions[i]));
            QCOMPARE(tabs->isTabVisible(index), bool(shown[i]));
        }
    }

    void selectAllTicksOnlyShownLists()
    {
        LoadCompared(kAppOutlook);
        FakeSource::Task.push_back(Zeroed<CommTaskRec>());
        Source(kAppOutlook, kDataTasks)->Load();
        SetSwitches(true, false, false, true);
        TfmOLData page;
        page.EnterPage();
        // A hidden tab holds no rows: its records are not part of this run.
        QCOMPARE(page.GetModel(kDataTasks)->rowCount(), 0);
        QTest::mouseClick(page.findChild<QPushButton*>("btnClear"), Qt::LeftButton);
        QTest::mouseClick(page.findChild<QPushButton*>("btnSelAll"), Qt::LeftButton);
        QCOMPARE(Ticks(page.GetModel(kDataContacts)), (std::vector<bool>{true, true, true}));
        QCOMPARE(Ticks(page.GetModel(kDataNotes)), (std::vector<bool>{true}));
    }

    void rowsShowStatusAsColourAndTick()
    {
        LoadCompared(kAppOutlook);
        TfmOLData page;
        page.EnterPage();
        const CompareModel* model = page.GetModel(kDataContacts);
        auto* list = page.findChild<QTreeView*>("lvAddr");
        QVERIFY(list);
        QCOMPARE(list->model(), model);
        QCOMPARE(model->rowCount(), 3);
        const QColor expected[] = {QColor(0, 128, 0), QColor(0, 0, 255), QColor(0, 0, 0)};
        const Qt::CheckState ticks[] = {Qt::Checked, Qt::Checked, Qt::Unchecked};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(model->index(row, 2).data(Qt::ForegroundRole).value<QColor>(), expected[row]);
            QCOMPARE(model->index(row, 0).data(Qt::CheckStateRole).toInt(), int(ticks[row]));
        }
        QCOMPARE(model->index(0, 0).data().toString(), QString("Ann"));
        QCOMPARE(model->index(1, 1).data().toString(), QString("bob@example.org"));
        QCOMPARE(page.findChild<QLabel*>("lblAddrCount")->text(), QString("3 Contact records in total"));
        QCOMPARE(page.findChild<QLabel*>("lblNoteCount")->text(), QString("1 Note records in total"));
        // A multi-line note shows its first line; the tool tip has all of it.
        QCOMPARE(page.GetModel(kDataNotes)->index(0, 0).data().toString(), QString("Shopping"));
        QCOMPARE(page.GetModel(kDataNotes)->index(0, 0).data(Qt::ToolTipRole).toString(),
                 QString("Shopping\r\nmilk"));
    }

    void coloursComeFromSettings()
    {
        LoadCompared(kAppOutlook);
        g_Settings().NewColor = 0x0000FF; // red in the low byte
        g_Settings().DiffColor = 0x00FF00;
        g_Settings().SameColor = 0x336699;
        TfmOLData page;
        page.EnterPage();
        const CompareModel* model = page.GetModel(kDataContacts);
        QCOMPARE(model->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QCOMPARE(model->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 255, 0));
        QCOMPARE(model->index(2, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0x99, 0x66, 0x33));
    }

    void emptyOrMissingStoreShowsNoRows_data()
    {
        QTest::addColumn<bool>("connectorExists");
        QTest::newRow("empty store") << true;
        QTest::newRow("no connector") << false;
    }

    void emptyOrMissingStoreShowsNoRows()
    {
        QFETCH(bool, connectorExists);
        if (connectorExists) {
            Source(kAppOutlook, kDataContacts)->Load();
        }
        TfmOLData page;
        page.EnterPage();
        QCOMPARE(page.GetModel(kDataContacts)->rowCount(), 0);
        QCOMPARE(page.findChild<QLabel*>("lblAddrCount")->text(), QString("0 Contact records in total"));
    }

    void columnsHaveCaptionsAndWidths()
    {
        TfmOLData page;
        struct Expect
        {
            const char* List;
            QStringList Captions;
            QList<int> Widths;
        };
        const Expect expects[] = {
            {"lvAddr",
             {"Display Name", "Email", "Primary Phone", "Company", "Title"},
             {120, 120, 100, 100, 100}},
            {"lvDate",
             {"Subject", "Start Time", "End Time", "All Day Event", "Location"},
             {200, 80, 80, 100, 150}},
            {"lvTask", {"Subject", "Importance", "Due Date", "Body"}, {200, 80, 80, 240}},
            {"lvNote", {"Notes"}, {600}},
        };
        for (const Expect& e : expects) {
            auto* list = page.findChild<QTreeView*>(e.List);
            QVERIFY2(list, e.List);
            QCOMPARE(list->model()->columnCount(), e.Captions.size());
            for (int c = 0; c < e.Captions.size(); ++c) {
                QCOMPARE(list->model()->headerData(c, Qt::Horizontal).toString(), e.Captions[c]);
                QCOMPARE(list->header()->sectionSize(c), e.Widths[c]);
            }
        }
    }

    // Names and dates are not cut: each column is as wide as its texts (never narrower than
    // the design's width, and no wider than 400 pixels unless the design says so), and the last
    // column takes the rest of the list.
    void columnsFitTheirTexts()
    {
        FakeSource::Addr = {Contact("Kunigunde Oberhausen-Wittgenstein von Hohenlohe", "k@example.org")};
        std::strcpy(FakeSource::Addr[0].Company, "Acme");
        auto event = Zeroed<CommDateRec>();
        std::strcpy(event.Subject, "Review");
        event.Start = SYSTEMTIME{2013, 5, 3, 1, 9, 30, 0, 0};
        event.End = SYSTEMTIME{2013, 5, 3, 1, 10, 45, 15, 0};
        FakeSource::Date = {event};
        auto task = Zeroed<CommTaskRec>();
        std::memset(task.Subject, 'w', 1000);
        FakeSource::Task = {task};
        for (DataType type : {kDataContacts, kDataCalendar, kDataTasks}) {
            Source(kAppOutlook, type)->Load();
        }
        TfmOLData page;
        page.resize(794, 434);
        page.show();
        page.EnterPage();
        for (DataType type : {kDataContacts, kDataCalendar, kDataTasks}) {
            QTreeView* list = page.GetList(type);
            QHeaderView* header = list->header();
            const int columns = CompareModel::ColumnCount(type);
            int total = 0;
            for (int c = 0; c < columns; ++c) {
                const QString text = page.GetModel(type)->index(0, c).data().toString();
                const int design = CompareModel::ColumnWidth(type, c);
                const int width = header->sectionSize(c);
                QVERIFY2(width >= design, qPrintable(QString("%1 column %2").arg(type).arg(c)));
                if (c < columns - 1) {
                    QVERIFY2(width <= std::max(design, 400), qPrintable(text.left(20)));
                    if (text.size() < 100) {
                        QVERIFY2(width > list->fontMetrics().horizontalAdvance(text), qPrintable(text));
                    }
                }
                total += width;
            }
            QVERIFY2(total >= list->viewport()->width(), "the list has an empty stretch on the right");
        }
        // The dates the design's 80 pixels cut are shown whole.
        QVERIFY(page.GetList(kDataCalendar)->header()->sectionSize(1) > 80);
        // A wider window widens the last column; the others keep their widths.
        QTreeView* contacts = page.GetList(kDataContacts);
        page.findChild<QTabWidget*>("pData")->setCurrentIndex(0);
        const int first = contacts->header()->sectionSize(0);
        const int last = contacts->header()->sectionSize(4);
        page.resize(1200, 600);
        QTRY_VERIFY(contacts->header()->sectionSize(4) > last);
        QCOMPARE(contacts->header()->sectionSize(0), first);
    }

    // The legend tells what the row colours mean, in the colours of the settings.
    void legendShowsTheColoursOfSettings()
    {
        g_Settings().NewColor = 0x0000FF;
        g_Settings().DiffColor = 0x00FF00;
        g_Settings().SameColor = 0x336699;
        TfmPDData page;
        page.EnterPage();
        const struct
        {
            const char* Label;
            const char* Text;
            QColor Color;
        } legend[] = {
            {"lblNewColor", "New: not in Lotus Notes yet", QColor(255, 0, 0)},
            {"lblDiffColor", "Diff: in Lotus Notes, but different", QColor(0, 255, 0)},
            {"lblSameColor", "Same: already in Lotus Notes", QColor(0x99, 0x66, 0x33)},
        };
        for (const auto& item : legend) {
            auto* label = page.findChild<QLabel*>(item.Label);
            QVERIFY2(label, item.Label);
            QCOMPARE(label->text(), QString(item.Text));
            QCOMPARE(label->palette().color(QPalette::WindowText), item.Color);
        }
        // The swatch beside each text has the colour too.
        const QImage swatch = page.findChild<QLabel*>("imgDiffColor")->pixmap().toImage();
        QCOMPARE(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), QColor(0, 255, 0));
    }

    // Records that lost characters to the code page: the tab says how many, and only then.
    void lossyRecordsAreNamedOnTheirTab()
    {
        SetSwitches(true, false, false, true);
        LoadCompared(kAppGoogle);
        FakeSource::LossyContacts = 2;
        TfmGGData page;
        page.show();
        page.EnterPage();
        auto* contacts = page.findChild<QLabel*>("lblAddrLossy");
        auto* notes = page.findChild<QLabel*>("lblNoteLossy");
        QVERIFY(contacts != nullptr && notes != nullptr);
        QVERIFY(contacts->isVisible());
        QVERIFY(contacts->text().startsWith("2 Google contacts have characters that the code page"));
        QVERIFY(contacts->text().contains("FERRYWISE_CODEPAGE"));
        QVERIFY(notes->isHidden());

        FakeSource::LossyContacts = 0;
        page.EnterPage();
        QVERIFY(contacts->isHidden());
    }

    void cellTexts_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("value"); // AllDay, Priority or DueDate
        QTest::addColumn<QString>("text");
        QTest::newRow("all day") << int(kDataCalendar) << 3 << 1 << "Yes";
        QTest::newRow("not all day") << int(kDataCalendar) << 3 << 0 << "No";
        QTest::newRow("priority high") << int(kDataTasks) << 1 << 1 << "High";
        QTest::newRow("priority low") << int(kDataTasks) << 1 << 2 << "Low";
        QTest::newRow("priority normal") << int(kDataTasks) << 1 << 0 << "Normal";
        QTest::newRow("priority unknown") << int(kDataTasks) << 1 << 7 << "Normal";
        // 2024-03-05 12:00 UTC, a Tuesday afternoon in Berlin.
        QTest::newRow("due date") << int(kDataTasks) << 2 << 1709640000 << "03/05/2024";
        QTest::newRow("no due date") << int(kDataTasks) << 2 << 0 << "";
    }

    void cellTexts()
    {
        QFETCH(int, type);
        QFETCH(int, column);
        QFETCH(int, value);
        QFETCH(QString, text);
        auto date = Zeroed<CommDateRec>();
        date.AllDay = value;
        auto task = Zeroed<CommTaskRec>();
        (column == 1 ? task.Priority : task.DueDate) = value;
        const CommRecordPtr record = type == kDataCalendar ? CommRecordPtr(&date) : CommRecordPtr(&task);
        QCOMPARE(CompareModel::CellText(record, column), text);
    }

    void calendarTimesAndAnsiTexts()
    {
        auto date = Zeroed<CommDateRec>();
        std::strcpy(date.Subject, "Caf\xe9"); // Windows-1252
        date.Start = SYSTEMTIME{2024, 3, 2, 5, 9, 30, 0, 0};
        date.End = SYSTEMTIME{2024, 3, 2, 5, 10, 0, 15, 0};
        QCOMPARE(CompareModel::CellText(&date, 0), QString::fromUtf8("Café"));
        QCOMPARE(CompareModel::CellText(&date, 1), QString("03/05/2024 09:30:00"));
        QCOMPARE(CompareModel::CellText(&date, 2), QString("03/05/2024 10:00:15"));
    }

    // Sources without display names still give every contact row a caption.
    void contactCaptions()
    {
        struct Case
        {
            const char* display;
            const char* first;
            const char* last;
            const char* company;
            const char* email;
            const char* caption;
        };
        const Case cases[] = {
            {"Dr. Ann Lee", "Ann", "Lee", "Acme", "ann@x", "Dr. Ann Lee"},
            {"", "J\xf6rg", "M\xfcller", "Acme", "", "J\xc3\xb6rg M\xc3\xbcller"},
            {"", "", "Lee", "Acme", "", "Lee"},
            {"", "", "", "Acme", "ann@x", "Acme"},
            {"", "", "", "", "ann@x", "ann@x"},
        };
        for (const Case& c : cases) {
            auto contact = Zeroed<CommAddrRec>();
            std::strcpy(contact.DisplayName, c.display);
            std::strcpy(contact.FirstName, c.first);
            std::strcpy(contact.LastName, c.last);
            std::strcpy(contact.Company, c.company);
            std::strcpy(contact.Email, c.email);
            QCOMPARE(CompareModel::CellText(&contact, 0), QString::fromUtf8(c.caption));
        }
    }

    void selectDiffAfterSelectAllUnticksSameRows()
    {
        LoadCompared(kAppOutlook);
        TfmOLData page;
        page.EnterPage();
        QTest::mouseClick(page.findChild<QPushButton*>("btnSelAll"), Qt::LeftButton);
        QCOMPARE(Ticks(page.GetModel(kDataContacts)), (std::vector<bool>{true, true, true}));
        QTest::mouseClick(page.findChild<QPushButton*>("btnSelDiff"), Qt::LeftButton);
        QCOMPARE(Ticks(page.GetModel(kDataContacts)), (std::vector<bool>{true, true, false}));
        QTest::mouseClick(page.findChild<QPushButton*>("btnClear"), Qt::LeftButton);
        QCOMPARE(Ticks(page.GetModel(kDataContacts)), (std::vector<bool>{false, false, false}));
        QCOMPARE(Ticks(page.GetModel(kDataNotes)), (std::vector<bool>{false}));
    }

    void buttonsHaveCaptions()
    {
        TfmGGData page;
        const char* buttons[][2] = {{"btnRefresh", "&Refresh"},
                                    {"btnSelAll", "Select &All"},
                                    {"btnClear", "C&lear Selection"},
                                    {"btnSelDiff", "Select &Diff"}};
        for (const auto& b : buttons) {
            auto* button = page.findChild<QPushButton*>(b[0]);
            QVERIFY2(button, b[0]);
            QCOMPARE(button->text(), QString(b[1]));
        }
    }

    void refresh_data()
    {
        QTest::addColumn<AppKind>("kind");
        QTest::addColumn<int>("loads");
        QTest::addColumn<bool>("ticked");
        // Reloaded records carry Same until the next comparison: black and unticked.
        QTest::newRow("outlook reloads") << kAppOutlook << 1 << false;
        QTest::newRow("act reloads") << kAppACT << 1 << false;
        // Google's lists are filled again from what is loaded.
        QTest::newRow("google refills") << kAppGoogle << 0 << true;
    }

    void refresh()
    {
        QFETCH(AppKind, kind);
        QFETCH(int, loads);
        QFETCH(bool, ticked);
        SetSwitches(true, false, false, false);
        LoadCompared(kind);
        FakeSource::Loads = 0;
        auto page = MakePage(kind);
        page->EnterPage();
        QTest::mouseClick(page->findChild<QPushButton*>("btnRefresh"), Qt::LeftButton);
        QCOMPARE(FakeSource::Loads, loads);
        const CompareModel* model = page->GetModel(kDataContacts);
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->IsTicked(0), ticked);
        if (!ticked) {
            for (int row = 0; row < 3; ++row) {
                QCOMPARE(model->index(row, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
            }
        }
        // The rows point into the reloaded store, not at freed records.
        QCOMPARE(model->RecordAt(0), CommRecordPtr(Source(kind, kDataContacts)->m_addr.First()));
        QCOMPARE(page->findChild<QLabel*>("lblAddrCount")->text(), QString("3 Contact records in total"));
    }

    void ticksFollowClicksAndKeys()
    {
        LoadCompared(kAppOutlook);
        TfmOLData page;
        page.resize(700, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.EnterPage();
        auto* list = page.findChild<QTreeView*>("lvAddr");
        const CompareModel* model = page.GetModel(kDataContacts);
        // Same row (2): unticked; a click on its check box ticks it.
        const QModelIndex same = model->index(2, 0);
        QStyleOptionViewItem option;
        option.rect = list->visualRect(same);
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
        QVERIFY(model->IsTicked(2));
        // Keyboard: space on the current row toggles its tick.
        list->setFocus();
        list->setCurrentIndex(model->index(0, 0));
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(!model->IsTicked(0));
    }

    void collectedSelection()
    {
        LoadCompared(kAppOutlook);
        SetSwitches(true, false, false, true);
        TfmOLData page;
        page.EnterPage();
        CompareModel* addr = page.GetModel(kDataContacts);
        addr->SetTicked(0, false);
        addr->SetTicked(2, true);
        // Left-overs of an earlier visit are dropped, never freed (they belong to the store).
        ConnectorRegistry::Instance()
            .GetSelectionList(kDataCalendar)
            ->Append(RecordAddress(addr->RecordAt(0)));
        page.CollectSelection();
        SelectionList* contacts = ConnectorRegistry::Instance().GetSelectionList(kDataContacts);
        QCOMPARE(contacts->GetCount(), 2u);
        QCOMPARE(contacts->GetAt(0), RecordAddress(addr->RecordAt(1)));
        QCOMPARE(contacts->GetAt(1), RecordAddress(addr->RecordAt(2)));
        QCOMPARE(ConnectorRegistry::Instance().GetSelectionList(kDataCalendar)->GetCount(), 0u);
        QCOMPARE(ConnectorRegistry::Instance().GetSelectionList(kDataTasks)->GetCount(), 0u);
        SelectionList* notes = ConnectorRegistry::Instance().GetSelectionList(kDataNotes);
        QCOMPARE(notes->GetCount(), 1u);
        QCOMPARE(notes->GetAt(0), RecordAddress(page.GetModel(kDataNotes)->RecordAt(0)));

        QTest::mouseClick(page.findChild<QPushButton*>("btnClear"), Qt::LeftButton);
        page.CollectSelection();
        QCOMPARE(contacts->GetCount(), 0u);
        QCOMPARE(notes->GetCount(), 0u);
    }

    void leavingSubmitsTheTickedRows_data()
    {
        QTest::addColumn<bool>("tickAll");
        QTest::addColumn<bool>("commits");
        QTest::addColumn<int>("submitted");
        QTest::newRow("nothing ticked") << false << true << 0;
        QTest::newRow("all ticked") << true << true << 4;
        // The contacts' commit fails: the notes are never handed over.
        QTest::newRow("commit fails") << true << false << 3;
    }

    void leavingSubmitsTheTickedRows()
    {
        QFETCH(bool, tickAll);
        QFETCH(bool, commits);
        QFETCH(int, submitted);
        SetSwitches(true, false, false, true);
        LoadCompared(kAppOutlook);
        for (DataType type : kAllDataTypes) {
            ConnectorRegistry::Instance().GetOrCreate(kAppNotes, type);
        }
        FakeTarget::CommitResult = commits;
        TfmOLData page;
        page.EnterPage();
        if (tickAll) {
            page.SelectAll();
        } else {
            page.ClearSelection();
        }
        QCOMPARE(page.LeavePage(), commits);
        QCOMPARE(FakeTarget::Submitted, submitted);
        // A failed submit keeps the wizard here with the ticks as they were.
        QCOMPARE(Ticks(page.GetModel(kDataContacts)), (std::vector<bool>(3, tickAll)));
    }

    void leftPageLetsGoOfItsRows()
    {
        LoadCompared(kAppOutlook);
        TfmOLData page;
        page.show();
        page.EnterPage();
        QCOMPARE(page.GetModel(kDataContacts)->rowCount(), 3);
        // The wizard moves on; a new session destroys the connectors the rows pointed into.
        page.hide();
        EndSession(false);
        BeginSession(fwtest::TestApps());
        QCOMPARE(page.GetModel(kDataContacts)->rowCount(), 0);
        QCOMPARE(page.GetModel(kDataNotes)->rowCount(), 0);
        QCOMPARE(page.GetModel(kDataContacts)->RecordAt(0), CommRecordPtr());
    }

    void doubleClickOrEnterAsksForDetail_data()
    {
        QTest::addColumn<bool>("enter");
        QTest::newRow("double-click") << false;
        QTest::newRow("Enter") << true;
    }

    void doubleClickOrEnterAsksForDetail()
    {
        QFETCH(bool, enter);
        LoadCompared(kAppOutlook);
        TfmOLData page;
        page.resize(700, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.EnterPage();
        QSignalSpy spy(&page, &TfmDataPage::DetailRequested);
        auto* list = page.findChild<QTreeView*>("lvAddr");
        const QRect cell = list->visualRect(page.GetModel(kDataContacts)->index(1, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        if (enter) {
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        }
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0][0].value<DataType>(), kDataContacts);
        QCOMPARE(spy[0][1].value<CommRecordPtr>(), page.GetModel(kDataContacts)->RecordAt(1));
        QCOMPARE(spy[0][2].value<CxConnector*>(),
                 static_cast<CxConnector*>(Source(kAppOutlook, kDataContacts)));
    }

    // The page asks (double-click, Enter: above); the wizard opens the dialog on the page.
    void wizardOpensTheDetailDialogModally()
    {
        TfmMain main(fwtest::TestApps());
        auto* page = main.findChild<TfmOLData*>();
        QVERIFY(page != nullptr);
        LoadCompared(kAppOutlook);
        FakeSource* notes = Source(kAppOutlook, kDataNotes);
        QString opened;
        QWidget* owner = nullptr;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                opened = dialog->objectName();
                owner = dialog->parentWidget();
                modal = dialog->isModal();
                dialog->findChild<QPushButton*>("btnClose")->click();
            }
        });
        emit page->DetailRequested(kDataNotes, notes->m_note.First(), notes);
        QCOMPARE(opened, QStringLiteral("TfmOLNoteDetail"));
        QCOMPARE(owner, static_cast<QWidget*>(page));
        QVERIFY(modal);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(ComparisonPageTest)
#include "ComparisonPageTest.moc"
