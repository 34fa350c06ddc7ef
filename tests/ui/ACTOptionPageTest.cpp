// The ACT! option page, found by its controls' names: the stand-in installation passes the
// program check, the checks in their order with their messages, both "..." buttons (where
// they start, what they offer, what they do with the choice), and a refused page keeping
// what was typed.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "act/ACTLocalSetup.h"
#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "misc/Settings.h"
#include "platform/KnownFolders.h"
#include "ui/TfmACTOption.h"

namespace {

const fwtest::PinnedLocale kPinned;

template <typename T> T* Find(QWidget* page, const char* name)
{
    T* widget = page->findChild<T*>(name);
    if (!widget) {
        qFatal("no control named %s", name);
    }
    return widget;
}

} // namespace

class ACTOptionPageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<fwtest::TempHome> m_home;
    std::unique_ptr<fwtest::RecordingFrontEnd> m_frontEnd;
    std::vector<QString> m_starts;
    std::vector<QString> m_filters;
    QString m_answer;
    std::string m_program; // the stand-in's program, in the overridden program folder

    QString LastBox() const
    {
        return m_frontEnd->boxes.empty() ? QString()
                                         : QString::fromStdString(m_frontEnd->boxes.back().caption + ": " +
                                                                  m_frontEnd->boxes.back().text);
    }

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        m_frontEnd = std::make_unique<fwtest::RecordingFrontEnd>();
        SetFrontEnd(m_frontEnd.get());
        fwtest::UnregisterAllConnectors();
        FWSettings& settings = g_Settings();
        settings.ACTAppName[0] = settings.ACTPadName[0] = settings.ACTUserName[0] = '\0';
        settings.ACTPasswordText[0] = '\0';
        settings.ACTSaveUser = settings.ACTSavePassword = false;
        m_program = m_home->WriteFile("programs/ferrywise-cli", "");
        platform::SetProgramFolderOverride(m_home->Path("programs"));
        m_starts.clear();
        m_filters.clear();
        m_answer.clear();
        TfmOptionPage::SetOpenFileChooser([this](QWidget*, const QString& start, const QString& filters) {
            m_starts.push_back(start);
            m_filters.push_back(filters);
            return m_answer;
        });
    }

    void cleanup()
    {
        TfmOptionPage::SetOpenFileChooser({});
        platform::SetProgramFolderOverride("");
        SetFrontEnd(nullptr);
        m_frontEnd.reset();
        m_home.reset();
    }

    // With the stand-in registered the page proposes its program, and the program check
    // passes: the next check (the database) is the one that refuses.
    void standInPassesTheProgramCheck()
    {
        std::string error;
        QVERIFY2(EnsureLocalACT(error), error.c_str());
        TfmACTOption page;
        page.EnterPage();
        QCOMPARE(Find<QLineEdit>(&page, "edtAppPath")->text(), QString::fromStdString(m_program));
        QVERIFY(!page.LeavePage());
        QCOMPARE(LastBox(), QString("Error: Invalid ACT! Pad file name."));
        // A second call leaves the registration as it is.
        QVERIFY(EnsureLocalACT(error));
    }

    // The checks in their order; the first that fails gives the one box.
    void checks_data()
    {
        QTest::addColumn<bool>("program");
        QTest::addColumn<bool>("pad");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << false << false << ""
                                 << "The ACT! application is not found on your computer.";
        QTest::newRow("no program, the rest fine") << false << true << "chris"
                                                   << "The ACT! application is not found on your computer.";
        QTest::newRow("no pad") << true << false << "chris"
                                << "Invalid ACT! Pad file name.";
        QTest::newRow("no user") << true << true << ""
                                 << "Invalid ACT! login user name.";
    }

    void checks()
    {
        QFETCH(bool, program);
        QFETCH(bool, pad);
        QFETCH(QString, user);
        QFETCH(QString, message);
        TfmACTOption page;
        page.EnterPage();
        Find<QLineEdit>(&page, "edtAppPath")
            ->setText(program ? QString::fromStdString(m_program) : "/no/ActSage.exe");
        Find<QLineEdit>(&page, "edtPadName")
            ->setText(pad ? QString::fromStdString(m_home->WriteFile("act/Demo.pad", "[Database]\nPath=x\n"))
                          : m_home->Path("act").c_str());
        Find<QLineEdit>(&page, "edtUserName")->setText(user);
        QVERIFY(!page.LeavePage());
        QCOMPARE(m_frontEnd->boxes.size(), std::size_t(1));
        QCOMPARE(LastBox(), "Error: " + message);
        QCOMPARE(m_frontEnd->boxes.back().icon, MessageIcon::Error);
    }

    // Each "..." starts with the edit's text, or the default when it is empty, offers its
    // files, and puts the choice into its edit; a cancelled dialog changes nothing.
    void browseButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("filter");
        QTest::newRow("program") << "btnAppBrowse"
                                 << "edtAppPath"
                                 << "ACT! executable file (ActSage.exe) (*.exe)";
        QTest::newRow("database") << "btnPadBrowse"
                                  << "edtPadName"
                                  << "ACT! Database File (*.pad) (*.pad)";
    }

    void browseButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, edit);
        QFETCH(QString, filter);
        std::string error;
        QVERIFY(EnsureLocalACT(error));
        const std::string database =
            m_home->WriteFile("Documents/ACT/ACT for Windows/Databases/Demo.pad", "");
        TfmACTOption page;
        QLineEdit* field = Find<QLineEdit>(&page, qPrintable(edit));
        const QString fallback = QString::fromStdString(button == "btnAppBrowse" ? m_program : database);
        field->clear();
        m_answer.clear();
        Find<QPushButton>(&page, qPrintable(button))->click();
        QCOMPARE(m_starts.size(), std::size_t(1));
        QCOMPARE(m_starts[0], fallback);
        QCOMPARE(m_filters[0], filter);
        QCOMPARE(field->text(), QString()); // cancelled

        field->setText("/typed/path");
        m_answer = "/chosen/file";
        Find<QPushButton>(&page, qPrintable(button))->click();
        QCOMPARE(m_starts[1], QString("/typed/path"));
        QCOMPARE(field->text(), QString("/chosen/file"));
    }

    // A refused page keeps what was typed: entering it again shows the same texts and ticks.
    void refusedPageKeepsItsTexts()
    {
        {
            TfmACTOption page;
            page.EnterPage();
            Find<QLineEdit>(&page, "edtAppPath")->setText("/no/ActSage.exe");
            Find<QLineEdit>(&page, "edtPadName")->setText("/no/Demo.pad");
            Find<QLineEdit>(&page, "edtUserName")->setText("chris");
            Find<QLineEdit>(&page, "edtPassword")->setText("pw");
            Find<QCheckBox>(&page, "cbSaveUser")->setChecked(true);
            QVERIFY(!page.LeavePage());
        }
        TfmACTOption page;
        page.EnterPage();
        QCOMPARE(Find<QLineEdit>(&page, "edtAppPath")->text(), QString("/no/ActSage.exe"));
        QCOMPARE(Find<QLineEdit>(&page, "edtPadName")->text(), QString("/no/Demo.pad"));
        QCOMPARE(Find<QLineEdit>(&page, "edtUserName")->text(), QString("chris"));
        QCOMPARE(Find<QLineEdit>(&page, "edtPassword")->text(), QString("pw"));
        QCOMPARE(Find<QLineEdit>(&page, "edtPassword")->echoMode(), QLineEdit::Password);
        QVERIFY(Find<QCheckBox>(&page, "cbSaveUser")->isChecked());
        QVERIFY(!Find<QCheckBox>(&page, "cbSavePassword")->isChecked());
    }
};

QTEST_MAIN(ACTOptionPageTest)
#include "ACTOptionPageTest.moc"
