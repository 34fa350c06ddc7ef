// The Palm Desktop option page: the user list and version from a Palm Desktop folder in a
// temporary home, the tabs and file controls that follow the settings, the "..." buttons with
// the file check of each data type, and what leaving the page stores and hands to the load.
// Message boxes go to a recording front end and file dialogs to a scripted chooser.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/FakeConnector.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "misc/Settings.h"
#include "palm/PalmClassicFiles.h"
#include "palm/PalmEnv.h"
#include "ui/TfmPDOption.h"

namespace {

const fwtest::PinnedLocale kPinned; // texts below are in code page 1252

template <typename T> T* Find(QWidget* page, const char* name)
{
    T* widget = page->findChild<T*>(name);
    if (!widget) {
        qFatal("no control named %s", name);
    }
    return widget;
}

// The controls and settings of one data type's tab.
struct TypeControls
{
    const char* box;
    const char* edit;
    const char* button;
    const char* tabCaption;
    const char* boxCaption;
    const char* refusal;
};

const TypeControls kTypes[kDataTypeCount] = {
    {"cbAddrFile", "edtAddrFile", "btnAddrFile", "Contacts", "Open Palm Desktop Contacts by File Name:",
     "Invalid Palm Desktop contacts database file, please try another one."},
    {"cbDateFile", "edtDateFile", "btnDateFile", "Calendar", "Open Palm Desktop Calendar by File Name:",
     "Invalid Palm Desktop calendar database file, please try another one."},
    {"cbTodoFile", "edtTodoFile", "btnTodoFile", "Tasks", "Open Palm Desktop Tasks by File Name:",
     "Invalid Palm Desktop task database file, please try another one."},
    {"cbMemoFile", "edtMemoFile", "btnMemoFile", "Notes", "Open Palm Desktop Memos by File Name:",
     "Invalid Palm Desktop memo database file, please try another one."},
};

const char kFilters[] = "Palm Desktop 4.x Database File(*.dat) (*.dat);;"
                        "Palm Desktop 6.x Database File(*.mdb) (*.mdb);;"
                        "All Files(*.*) (*.*)";

// A classic database of the data type with one record.
std::string ClassicFile(DataType type)
{
    switch (type) {
    case kDataContacts:
        return fwtest::ClassicAddressFile(
            {{"Berg", "Anna", "Berg & Sons", "040 123", "anna@berg.example", ""}});
    case kDataCalendar:
        return fwtest::ClassicDatebookFile({{1362209400, 1362211200, "Crossing to Helsinki"}});
    case kDataTasks:
        return fwtest::ClassicTodoFile({{"Renew harbour permit", -1, 1}});
    case kDataNotes:
        break;
    }
    return fwtest::ClassicMemoFile({{"Timetable ideas\nSummer schedule"}});
}

bool& UseFile(FWSettings& settings, DataType type)
{
    bool* switches[] = {&settings.PDUseAddrFile, &settings.PDUseDateFile, &settings.PDUseTaskFile,
                        &settings.PDUseNoteFile};
    return *switches[type];
}

char* FileName(FWSettings& settings, DataType type)
{
    char* names[] = {settings.PDAddrFileName, settings.PDDateFileName, settings.PDTaskFileName,
                     settings.PDNoteFileName};
    return names[type];
}

// What the file dialog answers in a browse case.
enum class Pick
{
    TextFile,        // a text file with a .dat name
    ClassicFile,     // a classic database of the tab's data type
    ClassicBak,      // the same, named .bak
    OtherType,       // a classic database of another data type
    InCodePage,      // a classic database in a folder whose name has a character of the code page
    OutsideCodePage, // a classic database in a folder whose name the ANSI code page lacks
};

} // namespace

Q_DECLARE_METATYPE(Pick)

class PDOptionPageTest : public QObject
{
    Q_OBJECT

private:
    // A Palm Desktop folder in the temporary home with a user folder per name (each a classic
    // user) and, when version is given, the version of its palm.exe; the page is pointed at it.
    std::string MakeDesktop(const std::vector<std::string>& users, const char* version)
    {
        const std::string folder = m_home->Path("Palm");
        m_home->WriteFile("Palm/palm.exe", "MZ");
        for (const std::string& user : users) {
            if (!fwtest::WriteClassicUser(folder, user, {}, {}, {}, {})) {
                qFatal("cannot write the user folder %s", user.c_str());
            }
        }
        if (version != nullptr) {
            m_home->WriteFile("registry.ini", "[FileVersions]\n" + folder + "/palm.exe=" + version + "\n");
        }
        PmSetDesktopFolderOverride(folder);
        return folder;
    }

    std::vector<fwtest::RecordingFrontEnd::Box> Boxes() const { return m_frontEnd->boxes; }

    std::unique_ptr<fwtest::TempHome> m_home;
    std::unique_ptr<fwtest::RecordingFrontEnd> m_frontEnd;
    std::vector<std::pair<QString, QString>> m_chooserCalls;
    QString m_chooserAnswer;

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        BeginSession(fwtest::TestApps());
        g_Settings() = FWSettings{};
        for (DataType type : kAllDataTypes) {
            SyncSwitch(g_Settings(), type) = true;
        }
        m_frontEnd = std::make_unique<fwtest::RecordingFrontEnd>();
        m_frontEnd->makeViews = false;
        SetFrontEnd(m_frontEnd.get());
        SetFlowPause(std::chrono::milliseconds(0));
        fwtest::Plans().clear();
        fwtest::RegisterFakes({kAppNotes, kAppPalm});
        PmSetDesktopFolderOverride("");
        PmResetUserList();
        m_chooserCalls.clear();
        m_chooserAnswer.clear();
        TfmOptionPage::SetOpenFileChooser([this](QWidget*, const QString& start, const QString& filters) {
            m_chooserCalls.push_back({start, filters});
            return m_chooserAnswer;
        });
    }

    void cleanup()
    {
        TfmOptionPage::SetOpenFileChooser({});
        // The fakes made by a load go now, not after the journal they write to at exit.
        EndSession(false);
        fwtest::UnregisterAllConnectors();
        SetFrontEnd(nullptr);
        m_frontEnd.reset();
        PmSetDesktopFolderOverride("");
        PmResetUserList();
        m_home.reset();
    }

    void captions()
    {
        TfmPDOption page;
        QStringList labels;
        for (QLabel* label : page.findChildren<QLabel*>()) {
            labels << label->text();
        }
        for (const char* text :
             {"Please specify Palm Desktop  access options:", "Select Palm User Profile :",
              "Palm Desktop version:", "More Advanced Options:",
              "(The \"Open by File Name\" options are used when you are migrating Palm Desktop data without "
              "having the Palm Desktop installed)."}) {
            QVERIFY2(labels.contains(text), text);
        }
        QCOMPARE(Find<QCheckBox>(&page, "cbAddrSwap")->text(), QString("Swap Last Name and First Name"));
        QTabWidget* tabs = Find<QTabWidget>(&page, "pcMain");
        QCOMPARE(tabs->count(), kDataTypeCount);
        for (DataType type : kAllDataTypes) {
            const TypeControls& c = kTypes[type];
            QCOMPARE(tabs->tabText(type), QString(c.tabCaption));
            QCOMPARE(Find<QCheckBox>(&page, c.box)->text(), QString(c.boxCaption));
            QCOMPARE(Find<QPushButton>(&page, c.button)->text(), QString("..."));
            QCOMPARE(Find<QLineEdit>(&page, c.edit)->maxLength(), 255);
            // Each tab holds its own controls.
            QVERIFY(tabs->widget(type)->isAncestorOf(Find<QLineEdit>(&page, c.edit)));
        }
        QVERIFY(tabs->widget(kDataContacts)->isAncestorOf(Find<QCheckBox>(&page, "cbAddrSwap")));
    }

    // The users in list order; PDUserID chooses one, 0 and an unknown ID the first. The choice
    // is what leaving the page stores and what the load is given.
    void usersAndVersion_data()
    {
        QTest::addColumn<int>("wanted"); // 0, -1 for an ID of no user, else the index + 1
        QTest::addColumn<int>("selected");
        QTest::newRow("PDUserID 0 selects the first") << 0 << 0;
        QTest::newRow("the second user's ID") << 2 << 1;
        QTest::newRow("the third user's ID") << 3 << 2;
        QTest::newRow("an ID of no user selects the first") << -1 << 0;
    }

    void usersAndVersion()
    {
        QFETCH(int, wanted);
        QFETCH(int, selected);
        MakeDesktop({"Anna", "Bruno", "J\xC3\xBCrgen"}, "4.1.4.10");
        QCOMPARE(PmBuildUserList(), 3);
        const std::vector<PmUser> users = PmGetUsers();
        std::int32_t unknown = 1;
        while (
            std::any_of(users.begin(), users.end(), [&](const PmUser& u) { return u.userId == unknown; })) {
            ++unknown;
        }
        g_Settings().PDUserID = wanted == 0 ? 0 : wanted < 0 ? unknown : users[wanted - 1].userId;

        TfmPDOption page;
        page.EnterPage();
        QComboBox* list = Find<QComboBox>(&page, "cbPDUser");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->itemText(0), QString("Anna"));
        QCOMPARE(list->itemText(1), QString("Bruno"));
        QCOMPARE(list->itemText(2), QString::fromUtf8("J\xC3\xBCrgen"));
        QCOMPARE(list->currentIndex(), selected);
        QLabel* version = Find<QLabel>(&page, "lblPDVersion");
        QCOMPARE(version->text(), QString("4.1.4.10"));
        QCOMPARE(version->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(Boxes().empty());

        QVERIFY(page.LeavePage());
        QCOMPARE(g_Settings().PDUserID, users[static_cast<std::size_t>(selected)].userId);
        fwtest::FakeConnector* contacts = fwtest::Fake(kAppPalm, kDataContacts);
        QVERIFY(contacts != nullptr && !contacts->configs.empty());
        QCOMPARE(contacts->configs.back().userId, g_Settings().PDUserID);
    }

    // Without users there is nothing to choose: the page says so beside the folder, and
    // leaving is refused with the reason unless every data type is opened by a file name.
    void withoutUsers_data()
    {
        QTest::addColumn<bool>("desktop");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("no Palm Desktop") << false << "Not Found." << QColor(255, 0, 0);
        QTest::newRow("Palm Desktop without user folders") << true << "6.0.108.0" << QColor(0, 0, 255);
    }

    void withoutUsers()
    {
        QFETCH(bool, desktop);
        QFETCH(QString, version);
        QFETCH(QColor, colour);
        if (desktop) {
            MakeDesktop({}, "6.0.108.0");
        }
        g_Settings().PDUserID = 4242;
        TfmPDOption page;
        page.EnterPage();
        QCOMPARE(Find<QComboBox>(&page, "cbPDUser")->count(), 0);
        QLabel* label = Find<QLabel>(&page, "lblPDVersion");
        QCOMPARE(label->text(), version);
        QCOMPARE(label->palette().color(QPalette::WindowText), colour);
        QLabel* users = Find<QLabel>(&page, "lblPDUsers");
        QVERIFY(!users->isHidden());
        QCOMPARE(users->text(), QString("Can not find any Palm users in your desktop environment."));
        QVERIFY(Boxes().empty());

        QVERIFY(!page.LeavePage());
        const auto boxes = Boxes();
        QCOMPARE(boxes.size(), std::size_t(1));
        QVERIFY(
            boxes[0].text.rfind("Can not find any Palm users in your desktop environment.\n\nChoose the Palm "
                                "Desktop folder",
                                0) == 0);
        QVERIFY(boxes[0].icon == MessageIcon::Error);
        QVERIFY(fwtest::Fake(kAppPalm, kDataContacts) == nullptr);

        // Every data type opened by its file name needs no user.
        for (DataType type : kAllDataTypes) {
            Find<QCheckBox>(&page, kTypes[type].box)->setChecked(true);
            Find<QLineEdit>(&page, kTypes[type].edit)->setText("/data/palm.dat");
        }
        QVERIFY(page.LeavePage());
        QCOMPARE(g_Settings().PDUserID, 4242);
    }

    // The folder chosen with "..." or typed into the field is kept in PDFolder and its users
    // are listed at once; an empty field goes back to the folder Palm Desktop records.
    void chosenFolderListsItsUsers()
    {
        const std::string folder = m_home->Path("Copied from Windows/Palm");
        for (const char* user : {"Anna", "Bruno"}) {
            QVERIFY(fwtest::WriteClassicUser(folder, user, {}, {}, {}, {}));
        }
        TfmPDOption page;
        page.EnterPage();
        QVERIFY(!Find<QLabel>(&page, "lblPDUsers")->isHidden());
        QCOMPARE(Find<QLineEdit>(&page, "edtPDFolder")->text(), QString());

        m_chooserAnswer = QString::fromStdString(folder);
        Find<QPushButton>(&page, "btnPDFolder")->click();
        QCOMPARE(m_chooserCalls.size(), std::size_t(1));
        QCOMPARE(m_chooserCalls[0].second, QString()); // a folder, not a file
        QCOMPARE(Find<QLineEdit>(&page, "edtPDFolder")->text(), QString::fromStdString(folder));
        QCOMPARE(std::string(g_Settings().PDFolder), folder);
        QComboBox* list = Find<QComboBox>(&page, "cbPDUser");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(1), QString("Bruno"));
        QVERIFY(Find<QLabel>(&page, "lblPDUsers")->isHidden());
        QVERIFY(Boxes().empty());

        // A typed folder that does not exist lists nobody and is refused by its name.
        QLineEdit* edit = Find<QLineEdit>(&page, "edtPDFolder");
        edit->setText("/nowhere/Palm");
        emit edit->editingFinished();
        QCOMPARE(list->count(), 0);
        QVERIFY(!page.LeavePage());
        QCOMPARE(Boxes().back().text, std::string("The folder /nowhere/Palm cannot be found."));

        edit->setText(QString::fromStdString(folder));
        emit edit->editingFinished();
        list->setCurrentIndex(1);
        QVERIFY(page.LeavePage());
        QCOMPARE(g_Settings().PDUserID, PmGetUsers()[1].userId);

        // The next visit of the wizard finds the folder it kept.
        PmResetUserList();
        TfmPDOption again;
        again.EnterPage();
        QCOMPARE(Find<QLineEdit>(&again, "edtPDFolder")->text(), QString::fromStdString(folder));
        QCOMPARE(Find<QComboBox>(&again, "cbPDUser")->count(), 2);

        Find<QLineEdit>(&again, "edtPDFolder")->setText("");
        emit Find<QLineEdit>(&again, "edtPDFolder")->editingFinished();
        QCOMPARE(std::string(g_Settings().PDFolder), std::string());
        QCOMPARE(Find<QComboBox>(&again, "cbPDUser")->count(), 0);
    }

    // A tab per data type that the run works on; switching one back on shows its tab again.
    void tabsFollowTheDataTypes_data()
    {
        QTest::addColumn<QList<bool>>("switches");
        QTest::newRow("all four") << QList<bool>{true, true, true, true};
        QTest::newRow("calendar off") << QList<bool>{true, false, true, true};
        QTest::newRow("contacts only") << QList<bool>{true, false, false, false};
        QTest::newRow("notes only") << QList<bool>{false, false, false, true};
    }

    void tabsFollowTheDataTypes()
    {
        QFETCH(QList<bool>, switches);
        MakeDesktop({"Anna"}, "4.1.4.10");
        for (DataType type : kAllDataTypes) {
            SyncSwitch(g_Settings(), type) = switches[type];
        }
        TfmPDOption page;
        page.show();
        page.EnterPage();
        QTabWidget* tabs = Find<QTabWidget>(&page, "pcMain");
        for (DataType type : kAllDataTypes) {
            QCOMPARE(tabs->isTabVisible(type), switches[type]);
        }
        QVERIFY(switches[tabs->currentIndex()]);

        for (DataType type : kAllDataTypes) {
            SyncSwitch(g_Settings(), type) = true;
        }
        page.EnterPage();
        for (DataType type : kAllDataTypes) {
            QVERIFY(tabs->isTabVisible(type));
        }
    }

    // A ticked box comes from its setting and makes its edit and "..." usable; a click on the
    // box switches both, and only those of its own tab.
    void fileBoxesEnableTheirControls_data()
    {
        QTest::addColumn<int>("type");
        for (DataType type : kAllDataTypes) {
            QTest::newRow(kTypes[type].tabCaption) << int(type);
        }
    }

    void fileBoxesEnableTheirControls()
    {
        QFETCH(int, type);
        FWSettings& settings = g_Settings();
        UseFile(settings, DataType(type)) = true;
        for (DataType t : kAllDataTypes) {
            std::snprintf(FileName(settings, t), kSettingsTextSize, "/data/M\xFCller/%s.dat",
                          kTypes[t].tabCaption);
        }
        TfmPDOption page;
        page.EnterPage();
        auto enabled = [&page](DataType t) {
            const bool edit = Find<QLineEdit>(&page, kTypes[t].edit)->isEnabled();
            const bool button = Find<QPushButton>(&page, kTypes[t].button)->isEnabled();
            if (edit != button) {
                qFatal("%s and its button disagree", kTypes[t].edit);
            }
            return edit;
        };
        for (DataType t : kAllDataTypes) {
            QCOMPARE(Find<QCheckBox>(&page, kTypes[t].box)->isChecked(), t == type);
            QCOMPARE(enabled(t), t == type);
            QCOMPARE(Find<QLineEdit>(&page, kTypes[t].edit)->text(),
                     QString::fromUtf8("/data/M\xC3\xBCller/") + kTypes[t].tabCaption + ".dat");
        }

        QCheckBox* box = Find<QCheckBox>(&page, kTypes[type].box);
        box->click();
        for (DataType t : kAllDataTypes) {
            QVERIFY(!enabled(t));
        }
        box->click();
        for (DataType t : kAllDataTypes) {
            QCOMPARE(enabled(t), t == type);
        }
    }

    // "...": the dialog starts in the Palm Desktop folder or at the edit's text; a chosen file
    // that the data type's check does not recognise is refused with its message, the focus on
    // the edit and the edit as it was.
    void browse_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<Pick>("pick");
        QTest::addColumn<bool>("accepted");
        for (DataType type : kAllDataTypes) {
            const QByteArray name = kTypes[type].tabCaption;
            QTest::newRow(name + ": text file named .dat") << int(type) << Pick::TextFile << false;
            QTest::newRow(name + ": classic database") << int(type) << Pick::ClassicFile << true;
        }
        QTest::newRow("Contacts: classic database named .bak")
            << int(kDataContacts) << Pick::ClassicBak << false;
        QTest::newRow("Contacts: a memo pad") << int(kDataContacts) << Pick::OtherType << false;
        QTest::newRow("Notes: an address book") << int(kDataNotes) << Pick::OtherType << false;
        QTest::newRow("Contacts: folder name in the code page")
            << int(kDataContacts) << Pick::InCodePage << true;
        QTest::newRow("Contacts: folder name outside the code page")
            << int(kDataContacts) << Pick::OutsideCodePage << false;
    }

    void browse()
    {
        QFETCH(int, type);
        QFETCH(Pick, pick);
        QFETCH(bool, accepted);
        const TypeControls& c = kTypes[type];
        const std::string desktop = MakeDesktop({"Anna"}, "4.1.4.10");
        std::string chosen;
        switch (pick) {
        case Pick::TextFile:
            chosen = m_home->WriteFile("files/x.dat", "Name;Phone\nAnna Berg;040 123\n");
            break;
        case Pick::ClassicFile:
            chosen = m_home->WriteFile("files/chosen.dat", ClassicFile(DataType(type)));
            break;
        case Pick::ClassicBak:
            chosen = m_home->WriteFile("files/address.bak", ClassicFile(DataType(type)));
            break;
        case Pick::OtherType:
            chosen = m_home->WriteFile("files/other.dat",
                                       ClassicFile(type == kDataContacts ? kDataNotes : kDataContacts));
            break;
        case Pick::InCodePage:
            chosen = m_home->WriteFile("files/M\xC3\xBCller/address.dat", ClassicFile(DataType(type)));
            break;
        case Pick::OutsideCodePage:
            chosen = m_home->WriteFile("files/\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0/address.dat",
                                       ClassicFile(DataType(type)));
            break;
        }

        TfmPDOption page;
        page.show();
        page.EnterPage();
        Find<QTabWidget>(&page, "pcMain")->setCurrentIndex(type);
        Find<QCheckBox>(&page, c.box)->click();
        QLineEdit* edit = Find<QLineEdit>(&page, c.edit);
        QPushButton* button = Find<QPushButton>(&page, c.button);

        // Cancel changes nothing.
        button->click();
        QCOMPARE(m_chooserCalls.size(), std::size_t(1));
        QCOMPARE(m_chooserCalls[0].first, QString::fromStdString(desktop));
        QCOMPARE(m_chooserCalls[0].second, QString(kFilters));
        QCOMPARE(edit->text(), QString());

        edit->setText("/before/palm.dat");
        m_chooserAnswer = QString::fromStdString(chosen);
        button->click();
        QCOMPARE(m_chooserCalls.size(), std::size_t(2));
        QCOMPARE(m_chooserCalls[1].first, QString("/before/palm.dat"));
        const auto boxes = Boxes();
        if (accepted) {
            QCOMPARE(edit->text(), QString::fromStdString(chosen));
            QVERIFY(boxes.empty());
            return;
        }
        QCOMPARE(edit->text(), QString("/before/palm.dat"));
        QCOMPARE(boxes.size(), std::size_t(1));
        QCOMPARE(boxes[0].text, std::string(c.refusal));
        QCOMPARE(boxes[0].caption, std::string("Error"));
        QVERIFY(boxes[0].icon == MessageIcon::Error);
        QCOMPARE(page.focusWidget(), static_cast<QWidget*>(edit));
    }

    // The platform's dialog of each "...": its title, the three filters, an existing file only.
    void fileDialogs_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("title");
        QTest::newRow("Contacts") << int(kDataContacts) << "Open Palm Desktop Contacts data file";
        QTest::newRow("Calendar") << int(kDataCalendar) << "Open Palm Desktop Calendar data file";
        QTest::newRow("Tasks") << int(kDataTasks) << "Open Palm Desktop Task data file";
        QTest::newRow("Notes") << int(kDataNotes) << "Open Palm Desktop Memos data file";
    }

    void fileDialogs()
    {
        QFETCH(int, type);
        QFETCH(QString, title);
        TfmOptionPage::SetOpenFileChooser({});
        TfmPDOption page;
        page.show();
        page.EnterPage();
        Find<QTabWidget>(&page, "pcMain")->setCurrentIndex(type);
        Find<QCheckBox>(&page, kTypes[type].box)->click();
        QString shownTitle;
        QStringList filters;
        bool existingOnly = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            shownTitle = dialog->windowTitle();
            filters = dialog->nameFilters();
            existingOnly = dialog->fileMode() == QFileDialog::ExistingFile;
            dialog->reject();
        });
        Find<QPushButton>(&page, kTypes[type].button)->click();
        QCOMPARE(shownTitle, title);
        QCOMPARE(filters,
                 QStringList({"Palm Desktop 4.x Database File(*.dat) (*.dat)",
                              "Palm Desktop 6.x Database File(*.mdb) (*.mdb)", "All Files(*.*) (*.*)"}));
        QVERIFY(existingOnly);
        QCOMPARE(Find<QLineEdit>(&page, kTypes[type].edit)->text(), QString());
    }

    // Leaving stores the user, the four switches and the four names in the code page, cut to
    // 255 characters, without checking them, and answers with the load: a failed load keeps
    // the wizard on the page with the settings stored all the same.
    void leaveStoresTheSettings_data()
    {
        QTest::addColumn<bool>("loads");
        QTest::newRow("load succeeds") << true;
        QTest::newRow("load fails") << false;
    }

    void leaveStoresTheSettings()
    {
        QFETCH(bool, loads);
        MakeDesktop({"Anna", "Bruno"}, "4.1.4.10");
        fwtest::PlanOf(kAppPalm, kDataContacts).loadResult = loads;
        TfmPDOption page;
        page.EnterPage();
        Find<QComboBox>(&page, "cbPDUser")->setCurrentIndex(1);
        Find<QCheckBox>(&page, "cbAddrFile")->click();
        Find<QCheckBox>(&page, "cbMemoFile")->click();
        Find<QLineEdit>(&page, "edtAddrFile")->setText(QString::fromUtf8("/data/M\xC3\xBCller/address.dat"));
        Find<QLineEdit>(&page, "edtDateFile")->setText("/nowhere/datebook.dat");
        Find<QLineEdit>(&page, "edtMemoFile")->setText("/" + QString(300, 'm'));
        Find<QCheckBox>(&page, "cbAddrSwap")->click();

        QCOMPARE(page.LeavePage(), loads);
        const FWSettings& settings = g_Settings();
        QCOMPARE(settings.PDUserID, PmGetUsers()[1].userId);
        QVERIFY(settings.PDUseAddrFile);
        QVERIFY(!settings.PDUseDateFile);
        QVERIFY(!settings.PDUseTaskFile);
        QVERIFY(settings.PDUseNoteFile);
        QCOMPARE(std::string(settings.PDAddrFileName), std::string("/data/M\xFCller/address.dat"));
        QCOMPARE(std::string(settings.PDDateFileName), std::string("/nowhere/datebook.dat"));
        QCOMPARE(std::string(settings.PDTaskFileName), std::string());
        QCOMPARE(std::string(settings.PDNoteFileName), "/" + std::string(254, 'm'));
        fwtest::FakeConnector* contacts = fwtest::Fake(kAppPalm, kDataContacts);
        QVERIFY(contacts != nullptr && !contacts->configs.empty());
        const ConnectorConfig& config = contacts->configs.back();
        QVERIFY(config.useFile);
        QCOMPARE(config.fileName, std::string(settings.PDAddrFileName));
        QCOMPARE(config.userId, settings.PDUserID);
    }
};

QTEST_MAIN(PDOptionPageTest)
#include "PDOptionPageTest.moc"
