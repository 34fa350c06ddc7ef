// The option pages: what EnterPage shows, what LeavePage stores, each refusal with its message,
// the "..." buttons, and a source page whose connectors do not exist. Message boxes go to a
// recording front end and file dialogs to a scripted chooser, so no modal window ever opens.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/FrontEnd.h"
#include "engine/MigrationDriver.h"
#include "misc/Settings.h"
#include "ui/TfmACTOption.h"
#include "ui/TfmGGOption.h"
#include "ui/TfmLNOption1.h"
#include "ui/TfmLNOption2.h"
#include "ui/TfmOLOption.h"
#include "ui/TfmPDOption.h"

namespace {

const fwtest::PinnedLocale kPinned; // texts below are in code page 1252

struct Shown
{
    std::string text;
    std::string caption;
    MessageIcon icon;
};

// Records message boxes instead of showing them; the load flows call it from the engine thread.
class RecordingFrontEnd : public IFrontEnd
{
public:
    void MessageBox(ParentWindow, const std::string& text, const std::string& caption,
                    MessageIcon icon) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shown.push_back({text, caption, icon});
    }
    void ShowExceptionDialog(ParentWindow, const std::string& what) override
    {
        MessageBox(nullptr, what, "exception", MessageIcon::Error);
    }
    std::unique_ptr<IWaitView> CreateWaitView() override { return nullptr; }
    void BringToFront(ParentWindow) override {}

    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shown.clear();
    }

    std::vector<Shown> All()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_shown;
    }

private:
    std::mutex m_mutex;
    std::vector<Shown> m_shown;
};

const char kNotesRegistry[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes]\nPath=/opt/notes/\n"
    "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\nDATADIR=/home/u/notesdata\n"
    "[FileVersions]\n/opt/notes/Notes.exe=9.0.1.3\n";

template <typename T> T* Find(QWidget* page, const char* name)
{
    T* widget = page->findChild<T*>(name);
    if (!widget) {
        qFatal("no control named %s", name);
    }
    return widget;
}

using PageFactory = std::function<TfmPage*()>;
using PagePreparation = std::function<void(TfmPage*, const fwtest::TempHome&)>;

void SetText(TfmPage* page, const char* name, const QString& text)
{
    Find<QLineEdit>(page, name)->setText(text);
}

} // namespace

Q_DECLARE_METATYPE(PageFactory)
Q_DECLARE_METATYPE(PagePreparation)
Q_DECLARE_METATYPE(MessageIcon)

class OptionPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        g_Settings() = FWSettings{};
        m_frontEnd.Clear();
        SetFrontEnd(&m_frontEnd);
        SetFlowPause(std::chrono::milliseconds(0));
        m_chooserCalls.clear();
        TfmOptionPage::SetOpenFileChooser([this](QWidget*, const QString& start, const QString& filters) {
            m_chooserCalls.push_back({start, filters});
            return m_chooserAnswer;
        });
    }

    void cleanup()
    {
        TfmOptionPage::SetOpenFileChooser({});
        SetFrontEnd(nullptr);
        m_home.reset();
    }

    void headings_data()
    {
        QTest::addColumn<PageFactory>("factory");
        QTest::addColumn<QString>("heading");
        QTest::newRow("LNOption1") << PageFactory([] { return new TfmLNOption1; })
                                   << "Please specify Lotus Notes access options (1 of 2):";
        QTest::newRow("LNOption2") << PageFactory([] { return new TfmLNOption2; })
                                   << "Please specify Lotus Notes access options (2 of 2):";
        QTest::newRow("OLOption") << PageFactory([] { return new TfmOLOption; })
                                  << "Please specify Microsoft Outlook options:";
        QTest::newRow("GGOption") << PageFactory([] { return new TfmGGOption; })
                                  << "Please specify Google account access options:";
        QTest::newRow("ACTOption") << PageFactory([] { return new TfmACTOption; })
                                   << "Please specify ACT! by Sage data access options:";
        QTest::newRow("PDOption") << PageFactory([] { return new TfmPDOption; })
                                  << "Please specify Palm Desktop  access options:";
    }

    void headings()
    {
        QFETCH(PageFactory, factory);
        QFETCH(QString, heading);
        std::unique_ptr<TfmPage> page(factory());
        QStringList texts;
        for (QLabel* label : page->findChildren<QLabel*>()) {
            texts << label->text();
        }
        QVERIFY2(texts.contains(heading), qPrintable(texts.join(" | ")));
    }

    // Each refusal: its message, caption "Error", icon, the page kept, and the focus where the
    // user has to type.
    void refusals_data()
    {
        QTest::addColumn<PageFactory>("factory");
        QTest::addColumn<PagePreparation>("prepare");
        QTest::addColumn<QString>("message");
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<QString>("focus");

        auto validACT = [](TfmPage* page, const fwtest::TempHome& home) {
            SetText(page, "edtAppPath", QString::fromStdString(home.WriteFile("act/ActSage.exe", "x")));
            SetText(page, "edtPadName", QString::fromStdString(home.WriteFile("act/db.pad", "x")));
            SetText(page, "edtUserName", "Chris");
        };
        QTest::newRow("LNOption1 empty program")
            << PageFactory([] { return new TfmLNOption1; })
            << PagePreparation(
                   [](TfmPage* page, const fwtest::TempHome&) { SetText(page, "edtNotesPath", ""); })
            << "Invalid path for Lotus Notes note.exe. Lotus Notes executable not found."
            << MessageIcon::Error << "";
        QTest::newRow("OLOption empty data file")
            << PageFactory([] { return new TfmOLOption; })
            << PagePreparation([](TfmPage* page, const fwtest::TempHome&) { SetText(page, "edtOLPath", ""); })
            << "Please choose the Outlook data file (.pst, .ost) to migrate." << MessageIcon::Error
            << "edtOLPath";
        QTest::newRow("GGOption neither folder nor e-mail")
            << PageFactory([] { return new TfmGGOption; })
            << PagePreparation(
                   [](TfmPage* page, const fwtest::TempHome&) { SetText(page, "edtPassword", "pw"); })
            << "Please choose the folder of your Google export (contacts as .vcf or .csv, calendars as .ics "
               "files)."
            << MessageIcon::Information << "edtGGFolder";
        QTest::newRow("GGOption folder that is a file")
            << PageFactory([] { return new TfmGGOption; })
            << PagePreparation([](TfmPage* page, const fwtest::TempHome& home) {
                   SetText(page, "edtGGFolder", QString::fromStdString(home.WriteFile("export.vcf", "x")));
               })
            << "The folder %1 cannot be found." << MessageIcon::Error << "edtGGFolder";
        QTest::newRow("GGOption empty password")
            << PageFactory([] { return new TfmGGOption; })
            << PagePreparation(
                   [](TfmPage* page, const fwtest::TempHome&) { SetText(page, "edtEmail", "a@b.c"); })
            << "Please enter the password of your Google account." << MessageIcon::Information
            << "edtPassword";
        QTest::newRow("ACTOption empty program")
            << PageFactory([] { return new TfmACTOption; })
            << PagePreparation([validACT](TfmPage* page, auto& home) {
                   validACT(page, home);
                   SetText(page, "edtAppPath", "");
               })
            << "The ACT! application is not found on your computer." << MessageIcon::Error << "";
        QTest::newRow("ACTOption program is a folder")
            << PageFactory([] { return new TfmACTOption; })
            << PagePreparation([validACT](TfmPage* page, auto& home) {
                   validACT(page, home);
                   SetText(page, "edtAppPath", QString::fromStdString(home.Root()));
               })
            << "The ACT! application is not found on your computer." << MessageIcon::Error << "";
        QTest::newRow("ACTOption missing database")
            << PageFactory([] { return new TfmACTOption; })
            << PagePreparation([validACT](TfmPage* page, auto& home) {
                   validACT(page, home);
                   SetText(page, "edtPadName", QString::fromStdString(home.Path("act/none.pad")));
               })
            << "Invalid ACT! Pad file name." << MessageIcon::Error << "";
        QTest::newRow("ACTOption empty user") << PageFactory([] { return new TfmACTOption; })
                                              << PagePreparation([validACT](TfmPage* page, auto& home) {
                                                     validACT(page, home);
                                                     SetText(page, "edtUserName", "");
                                                 })
                                              << "Invalid ACT! login user name." << MessageIcon::Error << "";
    }

    void refusals()
    {
        QFETCH(PageFactory, factory);
        QFETCH(PagePreparation, prepare);
        QFETCH(QString, message);
        QFETCH(MessageIcon, icon);
        QFETCH(QString, focus);
        std::unique_ptr<TfmPage> page(factory());
        page->show();
        page->EnterPage();
        prepare(page.get(), *m_home);

        QVERIFY(!page->LeavePage());
        const auto shown = m_frontEnd.All();
        QCOMPARE(shown.size(), std::size_t(1));
        if (message.contains("%1")) { // the path the user typed
            message = message.arg(Find<QLineEdit>(page.get(), qPrintable(focus))->text());
        }
        QCOMPARE(QString::fromStdString(shown[0].text), message);
        QCOMPARE(shown[0].caption, std::string("Error"));
        QVERIFY(shown[0].icon == icon);
        if (!focus.isEmpty()) {
            QCOMPARE(page->focusWidget(), Find<QWidget>(page.get(), qPrintable(focus)));
        }
    }

    // With the stand-in registry, the first visit proposes the registry's program, ID file and
    // version; leaving stores every control.
    void lotusNotesOptions1FillsDefaultsAndStores()
    {
        m_home->WriteFile("registry.ini", kNotesRegistry);
        g_Settings().LNNeedPassword = true;
        TfmLNOption1 page;
        page.EnterPage();
        QCOMPARE(Find<QLineEdit>(&page, "edtNotesPath")->text(), QString("/opt/notes/Notes.exe"));
        QCOMPARE(Find<QLineEdit>(&page, "edtIDFile")->text(), QString("/opt/notes/Data/user.id"));
        QLabel* version = Find<QLabel>(&page, "lblNotesVersion");
        QCOMPARE(version->text(), QString("9.0.1.3"));
        QCOMPARE(version->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(Find<QCheckBox>(&page, "cbLNPassword")->isChecked());
        QVERIFY(!Find<QCheckBox>(&page, "cbLNSavePassword")->isChecked());
        QCOMPARE(Find<QLineEdit>(&page, "edtLNPassword")->echoMode(), QLineEdit::Password);

        // The version follows the registry, not what the user types.
        SetText(&page, "edtNotesPath", "/elsewhere/notes");
        SetText(&page, "edtLNPassword", "sécret");
        Find<QCheckBox>(&page, "cbLNSavePassword")->setChecked(true);
        QVERIFY(page.LeavePage());
        QCOMPARE(std::string(g_Settings().LNAppName), std::string("/elsewhere/notes"));
        QCOMPARE(std::string(g_Settings().LNPasswordText), std::string("s\xE9"
                                                                       "cret"));
        QCOMPARE(std::string(g_Settings().LNIDFile), std::string("/opt/notes/Data/user.id"));
        QVERIFY(g_Settings().LNSavePassword);
        QVERIFY(m_frontEnd.All().empty());
    }

    void versionLabelsWithoutProgram_data()
    {
        QTest::addColumn<PageFactory>("factory");
        QTest::addColumn<QString>("label");
        QTest::newRow("Lotus Notes") << PageFactory([] { return new TfmLNOption1; }) << "lblNotesVersion";
    }

    void versionLabelsWithoutProgram()
    {
        QFETCH(PageFactory, factory);
        QFETCH(QString, label);
        std::unique_ptr<TfmPage> page(factory());
        page->EnterPage();
        QLabel* version = Find<QLabel>(page.get(), qPrintable(label));
        QCOMPARE(version->text(), QString("Unknown"));
        QCOMPARE(version->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }

    // The data-type switches decide which controls are usable; the mapping box edits the
    // chosen source's switch, and btnMap follows the box.
    void lotusNotesOptions2Switches_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<bool>("syncAddr");
        QTest::addColumn<bool>("syncDate");
        QTest::addColumn<bool>("mappingBefore");
        QTest::addColumn<bool>("tickOnPage");
        QTest::newRow("Outlook, contacts on") << int(kAppOutlook) << true << false << true << true;
        QTest::newRow("ACT!, contacts on, untick") << int(kAppACT) << true << true << true << false;
        QTest::newRow("Google, contacts on, tick") << int(kAppGoogle) << true << false << false << true;
        QTest::newRow("Palm Desktop, contacts on") << int(kAppPalm) << true << true << false << true;
        QTest::newRow("Outlook, contacts off") << int(kAppOutlook) << false << true << true << true;
    }

    void lotusNotesOptions2Switches()
    {
        QFETCH(int, source);
        QFETCH(bool, syncAddr);
        QFETCH(bool, syncDate);
        QFETCH(bool, mappingBefore);
        QFETCH(bool, tickOnPage);
        FWSettings& settings = g_Settings();
        settings.SourceApp = source;
        settings.SyncAddr = syncAddr;
        settings.SyncDate = syncDate;
        bool* switches[] = {&settings.ACTCustom, &settings.GGCustom, &settings.OLCustom, &settings.PDCustom};
        bool* chosen = source == kAppACT       ? switches[0]
                       : source == kAppGoogle  ? switches[1]
                       : source == kAppOutlook ? switches[2]
                                               : switches[3];
        *chosen = mappingBefore;

        TfmLNOption2 page;
        page.EnterPage();
        QLineEdit* addr = Find<QLineEdit>(&page, "edtLNAddrPath");
        QCheckBox* fieldMap = Find<QCheckBox>(&page, "cbFieldMap");
        QPushButton* map = Find<QPushButton>(&page, "btnMap");
        QCOMPARE(addr->isEnabled(), syncAddr);
        QCOMPARE(Find<QPushButton>(&page, "btnLNAddrBrowse")->isEnabled(), syncAddr);
        QCOMPARE(Find<QLineEdit>(&page, "edtLNDBPath")->isEnabled(), syncDate);
        QVERIFY(Find<QLineEdit>(&page, "edtLNNotePath")->isEnabled());
        QCOMPARE(fieldMap->isEnabled(), syncAddr);
        QCOMPARE(fieldMap->isChecked(), syncAddr && mappingBefore);
        QCOMPARE(fieldMap->text(), QString("Enable Lotus Notes Contacts User-Defined Field Mapping"));
        QCOMPARE(map->text(), QString("Setup Field Mapping  Now"));
        QCOMPARE(map->isEnabled(), syncAddr && mappingBefore);

        if (fieldMap->isEnabled()) {
            fieldMap->setChecked(tickOnPage);
        }
        QCOMPARE(map->isEnabled(), syncAddr && tickOnPage);
        addr->setText("/data/names.nsf");
        SetText(&page, "edtLNDBPath", "Primary1/Org1!!mail/mydb.nsf");
        SetText(&page, "edtLNNotePath", "/data/notebook.nsf");
        QVERIFY(page.LeavePage());
        QCOMPARE(*chosen, syncAddr && tickOnPage);
        for (bool* other : switches) {
            if (other != chosen) {
                QVERIFY(!*other);
            }
        }
        QCOMPARE(std::string(settings.LNAddrName), std::string("/data/names.nsf"));
        QCOMPARE(std::string(settings.LNDateName), std::string("Primary1/Org1!!mail/mydb.nsf"));
        QCOMPARE(std::string(settings.LNNoteName), std::string("/data/notebook.nsf"));
        QVERIFY(m_frontEnd.All().empty());
    }

    void lotusNotesOptions2DefaultDatabases()
    {
        m_home->WriteFile("registry.ini", kNotesRegistry);
        g_Settings().SyncAddr = true;
        TfmLNOption2 page;
        page.EnterPage();
        QCOMPARE(Find<QLineEdit>(&page, "edtLNAddrPath")->text(), QString("/home/u/notesdata/names.nsf"));
        // No notebook.nsf in the data folder: nothing to propose.
        QCOMPARE(Find<QLineEdit>(&page, "edtLNNotePath")->text(), QString());
        // No notes.ini names a mail database either.
        QCOMPARE(Find<QLineEdit>(&page, "edtLNDBPath")->text(), QString());
    }

    // The mail database is the one notes.ini names; one the user set stays.
    void lotusNotesOptions2MailDatabaseFromNotesIni()
    {
        const std::string data = m_home->Path("notesdata/");
        m_home->WriteFile("registry.ini",
                          "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\nDATADIR=" + data + "\n");
        m_home->WriteFile("notesdata/notes.ini", "[Notes]\r\nMailFile=mail\\jdoe.nsf\r\n");
        FWSettings& settings = g_Settings();
        settings.SyncDate = true;
        {
            TfmLNOption2 page;
            page.EnterPage();
            QCOMPARE(Find<QLineEdit>(&page, "edtLNDBPath")->text(),
                     QString::fromStdString(data + "mail/jdoe.nsf"));
            QCOMPARE(std::string(settings.LNDateName), data + "mail/jdoe.nsf");
        }
        std::snprintf(settings.LNDateName, sizeof settings.LNDateName, "%s", "Hub/Acme!!mail/team.nsf");
        TfmLNOption2 page;
        page.EnterPage();
        QCOMPARE(Find<QLineEdit>(&page, "edtLNDBPath")->text(), QString("Hub/Acme!!mail/team.nsf"));
    }

    // A refused ACT! page keeps what was typed: the next visit forward shows it again, and
    // the page's own defaults do not overwrite it.
    void refusedACTPageKeepsTexts()
    {
        TfmACTOption page;
        page.EnterPage();
        SetText(&page, "edtAppPath", "/nowhere/ActSage.exe");
        SetText(&page, "edtPadName", "/nowhere/db.pad");
        SetText(&page, "edtUserName", "Chris");
        SetText(&page, "edtPassword", "pw");
        Find<QCheckBox>(&page, "cbSaveUser")->setChecked(true);
        QVERIFY(!page.LeavePage());

        TfmACTOption again;
        again.EnterPage();
        QCOMPARE(Find<QLineEdit>(&again, "edtAppPath")->text(), QString("/nowhere/ActSage.exe"));
        QCOMPARE(Find<QLineEdit>(&again, "edtPadName")->text(), QString("/nowhere/db.pad"));
        QCOMPARE(Find<QLineEdit>(&again, "edtUserName")->text(), QString("Chris"));
        QCOMPARE(Find<QLineEdit>(&again, "edtPassword")->text(), QString("pw"));
        QVERIFY(Find<QCheckBox>(&again, "cbSaveUser")->isChecked());
        QVERIFY(!Find<QCheckBox>(&again, "cbSavePassword")->isChecked());
    }

    // The source pages keep their own mapping controls hidden: the mapping is set on the
    // second Lotus Notes page.
    void sourcePagesHideTheirMapping_data()
    {
        QTest::addColumn<PageFactory>("factory");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Outlook") << PageFactory([] { return new TfmOLOption; })
                                 << "Enable Outlook Contacts User-Defined Field Mapping";
        QTest::newRow("Google") << PageFactory([] { return new TfmGGOption; })
                                << "Enable Google Contacts User-Defined Field Mapping";
        QTest::newRow("ACT!") << PageFactory([] { return new TfmACTOption; })
                              << "Enable ACT! Contacts User-Defined Field Mapping";
    }

    void sourcePagesHideTheirMapping()
    {
        QFETCH(PageFactory, factory);
        QFETCH(QString, caption);
        std::unique_ptr<TfmPage> page(factory());
        page->show();
        page->EnterPage();
        QCheckBox* box = Find<QCheckBox>(page.get(), "cbFieldMap");
        QCOMPARE(box->text(), caption);
        QVERIFY(!box->isVisible());
        QVERIFY(!Find<QPushButton>(page.get(), "btnMap")->isVisible());
    }

    // Until a source's connectors exist, leaving its page with valid input shows the load
    // flow's failure and keeps the wizard there.
    void sourcePagesWithoutConnectors_data()
    {
        QTest::addColumn<PageFactory>("factory");
        QTest::addColumn<PagePreparation>("prepare");
        QTest::newRow("Google") << PageFactory([] { return new TfmGGOption; })
                                << PagePreparation([](TfmPage* page, const fwtest::TempHome&) {
                                       SetText(page, "edtEmail", "a@b.c");
                                       SetText(page, "edtPassword", "pw");
                                   });
        QTest::newRow("ACT!") << PageFactory([] {
            return new TfmACTOption;
        }) << PagePreparation([](TfmPage* page, const fwtest::TempHome& home) {
            SetText(page, "edtAppPath", QString::fromStdString(home.WriteFile("act/ActSage.exe", "x")));
            SetText(page, "edtPadName", QString::fromStdString(home.WriteFile("act/db.pad", "x")));
            SetText(page, "edtUserName", "Chris");
        });
        QTest::newRow("Palm Desktop") << PageFactory([] { return new TfmPDOption; })
                                      << PagePreparation([](TfmPage*, const fwtest::TempHome&) {});
    }

    void sourcePagesWithoutConnectors()
    {
        QFETCH(PageFactory, factory);
        QFETCH(PagePreparation, prepare);
        fwtest::UnregisterAllConnectors();
        g_Settings().SyncAddr = true;
        std::unique_ptr<TfmPage> page(factory());
        page->EnterPage();
        prepare(page.get(), *m_home);

        QVERIFY(!page->LeavePage());
        QVERIFY(page->isEnabled());
        const auto shown = m_frontEnd.All();
        QVERIFY(!shown.empty());
        // The load flow's own failure box, not a page refusal and not the exception dialog.
        for (const Shown& one : shown) {
            QCOMPARE(one.caption, std::string("Error"));
            QVERIFY(one.icon == MessageIcon::Error);
            QVERIFY2(one.text.find("not found") == std::string::npos &&
                         one.text.find("Please enter") == std::string::npos,
                     one.text.c_str());
        }
    }

    // "..." buttons: where the dialog starts, its filters, and what happens to the edit.
    void browseButtons_data()
    {
        QTest::addColumn<PageFactory>("factory");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("filters");

        const PageFactory ln1([] { return new TfmLNOption1; });
        const PageFactory ln2([] { return new TfmLNOption2; });
        const PageFactory act([] { return new TfmACTOption; });
        QTest::newRow("Notes program, empty") << ln1 << "btnNotesBrowse"
                                              << "edtNotesPath"
                                              << ""
                                              << "/opt/notes/Notes.exe"
                                              << "Lotus Notes executable file (notes.exe) (*.exe)";
        QTest::newRow("Notes program, typed") << ln1 << "btnNotesBrowse"
                                              << "edtNotesPath"
                                              << "/x/notes.exe"
                                              << "/x/notes.exe"
                                              << "Lotus Notes executable file (notes.exe) (*.exe)";
        QTest::newRow("ID file, empty") << ln1 << "btnIDFileBrowse"
                                        << "edtIDFile"
                                        << ""
                                        << "/opt/notes/Data/user.id"
                                        << "Lotus Notes user ID file (user.id) (*.id);;All Files(*.*) (*.*)";
        QTest::newRow("address book, empty") << ln2 << "btnLNAddrBrowse"
                                             << "edtLNAddrPath"
                                             << ""
                                             << "/home/u/notesdata/names.nsf"
                                             << "Lotus Notes Contacts Database file (names.nsf) (*.nsf)";
        QTest::newRow("notebook, typed") << ln2 << "btnLNNoteBrowse"
                                         << "edtLNNotePath"
                                         << "/n/nb.nsf"
                                         << "/n/nb.nsf"
                                         << "Lotus Notes Notebook Database file (notebook.nsf) (*.nsf)";
        QTest::newRow("ACT! program, empty") << act << "btnAppBrowse"
                                             << "edtAppPath"
                                             << ""
                                             << "/opt/act/ActSage.exe"
                                             << "ACT! executable file (ActSage.exe) (*.exe)";
        QTest::newRow("ACT! database, typed") << act << "btnPadBrowse"
                                              << "edtPadName"
                                              << "/d/my.pad"
                                              << "/d/my.pad"
                                              << "ACT! Database File (*.pad) (*.pad)";
    }

    void browseButtons()
    {
        QFETCH(PageFactory, factory);
        QFETCH(QString, button);
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, start);
        QFETCH(QString, filters);
        m_home->WriteFile("registry.ini", std::string(kNotesRegistry) +
                                              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ACT\\Install]\n"
                                              "InstallPath=/opt/act\nAppName=ActSage.exe\n");
        g_Settings().SyncAddr = true;
        std::unique_ptr<TfmPage> page(factory());
        page->EnterPage();
        QLineEdit* target = Find<QLineEdit>(page.get(), qPrintable(edit));
        QPushButton* browse = Find<QPushButton>(page.get(), qPrintable(button));
        QCOMPARE(browse->text(), QString("..."));
        target->setText(typed);

        // Cancel leaves the edit alone.
        m_chooserAnswer.clear();
        browse->click();
        QCOMPARE(m_chooserCalls.size(), std::size_t(1));
        QCOMPARE(m_chooserCalls[0].first, start);
        QCOMPARE(m_chooserCalls[0].second, filters);
        QCOMPARE(target->text(), typed);

        m_chooserAnswer = "/chosen/file";
        browse->click();
        QCOMPARE(target->text(), QString("/chosen/file"));

        // A path longer than the setting takes is refused, not cut to another path.
        m_chooserAnswer = "/" + QString(target->maxLength(), 'p');
        browse->click();
        QCOMPARE(target->text(), QString("/chosen/file"));
        const auto shown = m_frontEnd.All();
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0].caption, std::string("Error"));
    }

    // Texts longer than a setting holds are cut to its capacity, terminated; characters of
    // the code page survive the trip.
    void settingsTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("fits") << "abc" << 8 << QByteArray("abc");
        QTest::newRow("exactly") << "abcdefg" << 8 << QByteArray("abcdefg");
        QTest::newRow("cut") << "abcdefghij" << 8 << QByteArray("abcdefg");
        QTest::newRow("code page") << QString::fromUtf8("Müller") << 8 << QByteArray("M\xFCller");
        QTest::newRow("empty") << "" << 8 << QByteArray("");
    }

    void settingsTexts()
    {
        QFETCH(QString, text);
        QFETCH(int, size);
        QFETCH(QByteArray, stored);
        char field[16];
        std::memset(field, '#', sizeof field);
        TfmOptionPage::ToSettings(text, field, size);
        QCOMPARE(QByteArray(field), stored);
        QCOMPARE(field[size], '#');
        QCOMPARE(TfmOptionPage::FromSettings(field), text.left(size - 1));
    }

private:
    std::unique_ptr<fwtest::TempHome> m_home;
    RecordingFrontEnd m_frontEnd;
    std::vector<std::pair<QString, QString>> m_chooserCalls;
    QString m_chooserAnswer;
};

QTEST_MAIN(OptionPagesTest)
#include "OptionPagesTest.moc"
