// Renders every page and dialog of the wizard to PNG files, offscreen, in a temporary home with
// stand-in connectors, so that no real setting or data is touched. Used by scripts/screenshots.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "ACT/ACTRecords.h"
#include "common/TestApps.h"
#include "engine/FakeConnector.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "google/GGAddrRecord.h"
#include "misc/Settings.h"
#include "outlook/OlAddrRec.h"
#include "outlook/OlDateRec.h"
#include "ui/QtFrontEnd.h"
#include "ui/TfmAddrFieldMap.h"
#include "ui/TfmDebug.h"
#include "ui/TfmDump.h"
#include "ui/TfmMain.h"
#include "ui/TfmPage.h"
#include "ui/TfmRecordDetail.h"
#include <cstring>

namespace {

bool Save(QWidget* widget, const QString& folder, const char* name)
{
    QCoreApplication::processEvents();
    const QString path = folder + "/" + name + ".png";
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    return true;
}

std::string TemporaryHome()
{
    char pattern[] = "/tmp/ferrywise-shots-XXXXXX";
    const char* root = ::mkdtemp(pattern);
    if (root == nullptr) {
        return {};
    }
    const std::string home(root);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").c_str(), 1);
    ::setenv("FERRYWISE_REGISTRY", (home + "/registry.ini").c_str(), 1);
    return home;
}

// A Palm Desktop folder with two users and a palm.exe of 4.1.4, found through the registry as
// on a machine where Palm Desktop is installed.
void PalmDesktop(const std::string& home)
{
    if (home.empty()) {
        return;
    }
    const std::string folder = home + "/Palm/";
    for (const char* user : {"Anna Berg", "Harbour Office"}) {
        QDir().mkpath(QString::fromStdString(folder + user + "/address"));
    }
    QFile(QString::fromStdString(folder + "palm.exe")).open(QIODevice::WriteOnly);
    QFile registry(QString::fromStdString(home + "/registry.ini"));
    if (registry.open(QIODevice::WriteOnly)) {
        const std::string text = "[HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Core]\n"
                                 "DesktopPath=" +
                                 folder + "\n[FileVersions]\n" + folder + "palm.exe=4.1.4.10\n";
        registry.write(text.c_str());
    }
}

void Plans()
{
    using fwtest::PlanOf;
    PlanOf(kAppPalm, kDataContacts).records = {
        {"Anna Berg", "Berg & Sons"}, {"Bruno Costa", "Costa Shipping"}, {"Clara Diaz", "Harbour Office"},
        {"David Evans", "Evans Ltd"}, {"Eva Fischer", "Fischer AG"},     {"Frank Green", "Green Ferries"}};
    PlanOf(kAppNotes, kDataContacts).records = {{"Bruno Costa", "Costa Shipping"},
                                                {"Clara Diaz", "Old Office"}};
    PlanOf(kAppPalm, kDataCalendar).records = {{"Crossing to Helsinki", "Pier 3"},
                                               {"Crew meeting", "Bridge"}};
    // The calendar tab says that one item lost characters to the code page.
    PlanOf(kAppPalm, kDataCalendar).lossyRecords = 1;
    PlanOf(kAppPalm, kDataTasks).records = {{"Renew harbour permit", "1"}, {"Order life jackets", ""}};
    PlanOf(kAppPalm, kDataNotes).records = {{"Timetable ideas", "Summer schedule"}};
}

// Any connector: the detail dialogs only ask that there is one.
class ShotConnector : public CxConnector
{
public:
    bool Load() override { return true; }
    void Clear() override {}
    void Configure(const ConnectorConfig&) override {}
};

// Every record detail dialog, the first of each source on a filled record.
bool DetailDialogs(QWidget* owner, const QString& folder)
{
    ShotConnector connector;
    static OlAddrRec olAddr{};
    std::strcpy(olAddr.FullName, "Ann Lee");
    std::strcpy(olAddr.CompanyName, "Harbour Works Ltd");
    std::strcpy(olAddr.JobTitle, "Engineer");
    std::strcpy(olAddr.Body, "Met at the spring fair.");
    std::strcpy(olAddr.MobileTelephoneNumber, "+49 170 1234567");
    std::strcpy(olAddr.Email1Address, "ann.lee@example.org");
    static OlDateRec olDate{};
    std::strcpy(olDate.Subject, "Team meeting");
    std::strcpy(olDate.Location, "Room 4");
    olDate.Start = 46000.375;
    olDate.End = 46000.41666;
    olDate.IsRecurring = 1;
    olDate.RecurrenceType = kOlRecursWeekly;
    olDate.Interval = 2;
    olDate.DayOfWeekMask = 10;
    olDate.PatternEndDate = 46100;
    static ACTAddrRec actAddr{};
    std::strcpy(actAddr.FullName, "Bob Fox");
    std::strcpy(actAddr.BusinessPhone, "555-1234");
    std::strcpy(actAddr.BusinessPhoneExtension, "12");
    std::strcpy(actAddr.RecordCreator, "Admin");
    static GGAddrRec ggAddr{};
    std::strcpy(ggAddr.DisplayName, "Cy Young");
    std::strcpy(ggAddr.CustomFields[0], "Red");
    CommAddrRec olContact{};
    olContact.NativeRecord = &olAddr;
    olContact.NativeSize = sizeof olAddr;
    CommDateRec olEvent{};
    olEvent.NativeRecord = &olDate;
    olEvent.NativeSize = sizeof olDate;
    CommAddrRec actContact{};
    actContact.NativeRecord = &actAddr;
    actContact.NativeSize = sizeof actAddr;
    CommAddrRec ggContact{};
    ggContact.NativeRecord = &ggAddr;
    ggContact.NativeSize = sizeof ggAddr;

    struct Shot
    {
        AppKind source;
        DataType type;
        CommRecordPtr record;
        int tab;
        const char* name;
    };
    const Shot shots[] = {
        {kAppOutlook, kDataContacts, &olContact, 3, "11-detail-outlook-contact"},
        {kAppOutlook, kDataCalendar, &olEvent, 2, "11-detail-outlook-calendar"},
        {kAppOutlook, kDataTasks, {}, 0, "11-detail-outlook-task"},
        {kAppOutlook, kDataNotes, {}, 1, "11-detail-outlook-note"},
        {kAppACT, kDataContacts, &actContact, 5, "12-detail-act-contact"},
        {kAppACT, kDataCalendar, {}, 0, "12-detail-act-calendar"},
        {kAppACT, kDataTasks, {}, 0, "12-detail-act-todo"},
        {kAppACT, kDataNotes, {}, 1, "12-detail-act-note"},
        {kAppGoogle, kDataContacts, &ggContact, 3, "13-detail-google-contact"},
        {kAppGoogle, kDataCalendar, {}, 0, "13-detail-google-calendar"},
        {kAppPalm, kDataContacts, {}, 0, "14-detail-palm-contact"},
        {kAppPalm, kDataCalendar, {}, 0, "14-detail-palm-calendar"},
        {kAppPalm, kDataTasks, {}, 0, "14-detail-palm-task"},
        {kAppPalm, kDataNotes, {}, 0, "14-detail-palm-memo"},
    };
    bool ok = true;
    for (const Shot& shot : shots) {
        std::unique_ptr<TfmRecordDetail> dialog = MakeRecordDetail(shot.source, shot.type, owner);
        if (dialog == nullptr) {
            ok = false;
            continue;
        }
        dialog->SetRecord(&connector, shot.record);
        dialog->GetTabs()->setCurrentIndex(shot.tab);
        dialog->show();
        ok = Save(dialog.get(), folder, shot.name) && ok;
        dialog->hide();
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string home = TemporaryHome();
    QApplication app(argc, argv);
    PalmDesktop(home);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(folder);

    fwtest::RecordingFrontEnd frontEnd;
    frontEnd.makeViews = false;
    SetFrontEnd(&frontEnd);
    SetFlowPause(std::chrono::milliseconds(0));
    fwtest::RegisterFakes({kAppNotes, kAppPalm});
    Plans();

    bool ok = true;
    {
        TfmMain main(fwtest::TestApps());
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/opt/notes/Notes.exe");
        main.show();
        ok = Save(&main, folder, "01-source") && ok;

        // The option pages of every source, shown in place.
        main.findChild<QRadioButton*>("rbtnPD")->click();
        for (const char* box : {"cbAddr", "cbDate", "cbTask", "cbNote"}) {
            main.findChild<QCheckBox*>(box)->setChecked(true);
        }
        auto* next = main.findChild<QPushButton*>("btnNext");
        next->click();
        ok = Save(&main, folder, "02-lotus-notes-options-1") && ok;
        next->click();
        ok = Save(&main, folder, "03-lotus-notes-options-2") && ok;
        struct Source
        {
            AppKind kind;
            const char* name;
        };
        for (Source source : {Source{kAppGoogle, "04-google-options"},
                              Source{kAppOutlook, "04-outlook-options"}, Source{kAppACT, "04-act-options"}}) {
            g_Settings().SourceApp = source.kind;
            TfmPage* page = main.PageOfStep(3);
            main.VisiblePage()->hide();
            page->EnterPage();
            page->show();
            ok = Save(&main, folder, source.name) && ok;
        }
        g_Settings().SourceApp = kAppPalm;
        main.ShowStep();
        next->click();
        ok = Save(&main, folder, "04-palm-desktop-options") && ok;
        next->click();
        ok = Save(&main, folder, "05-comparison") && ok;
        // The window grows: a wider comparison page on its calendar tab.
        main.resize(1100, 700);
        if (auto* tabs = main.VisiblePage()->findChild<QTabWidget*>("pData")) {
            tabs->setCurrentIndex(1);
        }
        ok = Save(&main, folder, "05-comparison-calendar-wide") && ok;
        if (auto* tabs = main.VisiblePage()->findChild<QTabWidget*>("pData")) {
            tabs->setCurrentIndex(0);
        }
        main.resize(794, 594);
        next->click();
        ok = Save(&main, folder, "06-results") && ok;

        TfmDebug debug(&main);
        debug.show();
        ok = Save(&debug, folder, "07-debug-log-options") && ok;
        debug.hide();
        TfmDump dump(&main);
        dump.show();
        ok = Save(&dump, folder, "08-exception") && ok;
        dump.hide();
        // The custom field mapping of Outlook contacts, two slots set.
        g_Settings().CustomID[kCustomIDOutlook] = 1;
        g_Settings().CustomID[kCustomIDOutlook + 2] = 18;
        TfmAddrFieldMap mapping(main.PageOfStep(2));
        mapping.Prepare(kAppOutlook);
        mapping.show();
        ok = Save(&mapping, folder, "08-field-mapping") && ok;
        mapping.hide();
        ok = DetailDialogs(&main, folder) && ok;

        QMessageBox box(QMessageBox::Critical, "Error",
                        "Please migrate at least one type of application data.", QMessageBox::Ok, &main);
        box.show();
        ok = Save(&box, folder, "09-message") && ok;
        box.hide();
        QMessageBox noProgram(QMessageBox::Critical, "Error",
                              "No program could open the migration log:\n"
                              "/home/ann/.config/corvane/FWLN/MILog.txt\n\n"
                              "Open the file with a program of your choice.",
                              QMessageBox::Ok, &main);
        noProgram.show();
        ok = Save(&noProgram, folder, "09-message-no-program") && ok;
        noProgram.hide();

        QtFrontEnd qtFrontEnd(&main);
        std::unique_ptr<IWaitView> view;
        std::thread([&] {
            view = qtFrontEnd.CreateWaitView();
            view->Repaint({"Loading Palm Desktop contacts...", 7300, 9});
        }).join();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (!qtFrontEnd.WaitWidgets().isEmpty()) {
            ok = Save(qtFrontEnd.WaitWidgets().front(), folder, "10-wait-window") && ok;
        }
        view.reset();
        QCoreApplication::processEvents();
    }
    fwtest::UnregisterAllConnectors();
    SetFrontEnd(nullptr);
    return ok ? 0 : 1;
}
