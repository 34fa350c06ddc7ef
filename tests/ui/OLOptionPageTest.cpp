// The Outlook option page: choosing the Outlook data file, the label that says what the file
// is, the refusals of a file that cannot be opened (each naming the file), and the password
// of a protected file asked for until it is right or the user cancels. Message boxes go to a
// recording front end, file dialogs and password prompts to scripted answers. The real data
// files are the shared samples; the cases that need them skip when they are not there.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "misc/Settings.h"
#include "ui/TfmOLOption.h"

namespace {

const fwtest::PinnedLocale kPinned;

const std::string kSamples = std::string(FW_SHARED_DIR) + "/samples/pst/";

template <typename T> T* Find(QWidget* page, const char* name)
{
    T* widget = page->findChild<T*>(name);
    if (!widget) {
        qFatal("no control named %s", name);
    }
    return widget;
}

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

} // namespace

class OLOptionPageTest : public QObject
{
    Q_OBJECT

private:
    // A sample's path, or an empty text when the samples are not there.
    static QString Sample(const char* name)
    {
        const std::string path = kSamples + name;
        return std::filesystem::exists(path) ? QString::fromStdString(path) : QString();
    }

    // The file a case names: a sample (empty when the samples are not there), "text" for a
    // text file named .pst, or the name itself.
    QString PathOf(const QString& file, bool sample) const
    {
        if (sample) {
            return Sample(qPrintable(file));
        }
        if (file == "text") {
            return QString::fromStdString(m_home->WriteFile("notes.pst", "From: someone\n"));
        }
        return file;
    }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : m_frontEnd->boxes) {
            texts.push_back(box.caption + ": " + box.text);
        }
        return texts;
    }

    std::unique_ptr<fwtest::TempHome> m_home;
    std::unique_ptr<fwtest::RecordingFrontEnd> m_frontEnd;
    std::vector<QString> m_prompts; // the reasons the password prompt was shown with
    QStringList m_answers;          // its answers, in order; "-" or none left is Cancel
    std::vector<QString> m_chooserFilters;
    QString m_chooserAnswer;

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        m_frontEnd = std::make_unique<fwtest::RecordingFrontEnd>();
        SetFrontEnd(m_frontEnd.get());
        fwtest::UnregisterAllConnectors();
        g_Settings().OLDataFile[0] = '\0';
        g_Settings().OLPasswordText[0] = '\0'; // kept in memory for the run only
        m_prompts.clear();
        m_answers.clear();
        m_chooserFilters.clear();
        TfmOLOption::SetPasswordPrompt([this](QWidget*, const QString& reason) -> std::optional<QString> {
            m_prompts.push_back(reason);
            const QString answer = m_answers.isEmpty() ? QString("-") : m_answers.takeFirst();
            if (answer == "-") {
                return std::nullopt;
            }
            return answer;
        });
        TfmOptionPage::SetOpenFileChooser([this](QWidget*, const QString&, const QString& filters) {
            m_chooserFilters.push_back(filters);
            return m_chooserAnswer;
        });
    }

    void cleanup()
    {
        TfmOLOption::SetPasswordPrompt({});
        TfmOptionPage::SetOpenFileChooser({});
        SetFrontEnd(nullptr);
        m_frontEnd.reset();
        m_home.reset();
    }

    // What the label says for the file the settings name when the page is entered.
    void formatLabel_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("sample");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("none chosen") << "" << false << "No data file chosen" << kRed;
        QTest::newRow("a text file") << "text" << false << "Not an Outlook data file" << kRed;
        QTest::newRow("missing") << "/no/such/backup.pst" << false << "Not an Outlook data file" << kRed;
        QTest::newRow("Unicode PST") << "java-libpst__dist-list.pst" << true << "Unicode PST" << kBlue;
        QTest::newRow("ANSI PST") << "go-pst__32-bit.pst" << true << "ANSI PST" << kBlue;
        QTest::newRow("OST, 4 KiB pages")
            << "pst-extractor__mtnman1965@outlook.com.ost" << true << "OST" << kBlue;
        QTest::newRow("OST, 512-byte pages") << "aspose-net__SampleOstFile.ost" << true << "OST" << kBlue;
        QTest::newRow("mbox named .pst")
            << "aspose-c__SMTP_Outlook.pst" << true << "Not an Outlook data file" << kRed;
    }

    void formatLabel()
    {
        QFETCH(QString, file);
        QFETCH(bool, sample);
        QFETCH(QString, shown);
        QFETCH(QColor, colour);
        const QString path = PathOf(file, sample);
        if (sample && path.isEmpty()) {
            QSKIP("the shared Outlook samples are not there");
        }
        std::snprintf(g_Settings().OLDataFile, sizeof g_Settings().OLDataFile, "%s", qPrintable(path));
        TfmOLOption page;
        page.EnterPage();
        QCOMPARE(Find<QLineEdit>(&page, "edtOLPath")->text(), path);
        QLabel* label = Find<QLabel>(&page, "lblOLVersion");
        QCOMPARE(label->text(), shown);
        QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    }

    // "..." offers .pst and .ost files, puts the chosen one into the edit and says what it is.
    void browseChoosesTheDataFile()
    {
        const QString path = Sample("java-libpst__dist-list.pst");
        if (path.isEmpty()) {
            QSKIP("the shared Outlook samples are not there");
        }
        TfmOLOption page;
        page.EnterPage();
        m_chooserAnswer = path;
        Find<QPushButton>(&page, "btnOLBrowse")->click();
        QCOMPARE(m_chooserFilters.size(), std::size_t(1));
        QVERIFY2(m_chooserFilters[0].contains("*.pst *.ost"), qPrintable(m_chooserFilters[0]));
        QCOMPARE(Find<QLineEdit>(&page, "edtOLPath")->text(), path);
        QCOMPARE(Find<QLabel>(&page, "lblOLVersion")->text(), QString("Unicode PST"));
    }

    // A file that cannot be opened keeps the wizard on the page with one "Error" box that names
    // the file and says why; nothing is loaded and no password is asked for.
    void refusals_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("sample");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "" << false
                               << "Please choose the Outlook data file (.pst, .ost) to migrate.";
        QTest::newRow("missing") << "/no/such/backup.pst" << false
                                 << "The Outlook data file \"/no/such/backup.pst\" cannot be opened: No such "
                                    "file or directory.";
        QTest::newRow("a text file") << "text" << false << "is not an Outlook data file (.pst or .ost).";
        QTest::newRow("mbox named .pst")
            << "aspose-c__SMTP_Outlook.pst" << true << "is not an Outlook data file (.pst or .ost).";
        QTest::newRow("header checksum error") << "aspose-net__AddingBulkMessagesWithImprovedPerformance.pst"
                                               << true << "is damaged and cannot be opened.";
    }

    void refusals()
    {
        QFETCH(QString, file);
        QFETCH(bool, sample);
        QFETCH(QString, message);
        const QString path = PathOf(file, sample);
        if (sample && path.isEmpty()) {
            QSKIP("the shared Outlook samples are not there");
        }
        TfmOLOption page;
        page.EnterPage();
        Find<QLineEdit>(&page, "edtOLPath")->setText(path);
        QVERIFY(!page.LeavePage());
        const auto texts = BoxTexts();
        QCOMPARE(texts.size(), std::size_t(1));
        QVERIFY2(texts[0].rfind("Error: ", 0) == 0, texts[0].c_str());
        QVERIFY2(texts[0].find(message.toStdString()) != std::string::npos, texts[0].c_str());
        if (!path.isEmpty()) {
            QVERIFY2(texts[0].find(path.toStdString()) != std::string::npos, texts[0].c_str());
        }
        QVERIFY(m_frontEnd->boxes[0].icon == MessageIcon::Error);
        QVERIFY(m_prompts.empty());
    }

    // A protected file: the page asks for the password; Cancel keeps the wizard on the page,
    // a wrong password is refused with a message and asked for again, and the right one opens
    // the file and starts the load (which, with no Outlook connectors here, fails as the load
    // flow says).
    void protectedFileAsksForItsPassword_data()
    {
        QTest::addColumn<QStringList>("answers"); // "-" ends with Cancel
        QTest::addColumn<bool>("opened");
        QTest::addColumn<int>("wrong");
        QTest::newRow("cancelled") << QStringList{"-"} << false << 0;
        QTest::newRow("its password") << QStringList{"pstqnp`4sT"} << true << 0;
        QTest::newRow("wrong, then cancelled") << QStringList{"secret", "-"} << false << 1;
        QTest::newRow("wrong, empty, then right") << QStringList{"secret", "", "pstqnp`4sT"} << true << 1;
    }

    void protectedFileAsksForItsPassword()
    {
        QFETCH(QStringList, answers);
        QFETCH(bool, opened);
        QFETCH(int, wrong);
        const QString path = Sample("java-libpst__passworded.pst");
        if (path.isEmpty()) {
            QSKIP("the shared Outlook samples are not there");
        }
        m_answers = answers;
        g_Settings().SyncAddr = true;
        TfmOLOption page;
        page.EnterPage();
        Find<QLineEdit>(&page, "edtOLPath")->setText(path);
        QVERIFY(!page.LeavePage()); // opened or not, no connector loads it here
        QCOMPARE(m_prompts.size(), std::size_t(answers.size()));
        for (const QString& reason : m_prompts) {
            QCOMPARE(reason, QString("The Outlook data file \"%1\" is protected by a password.").arg(path));
        }
        const auto texts = BoxTexts();
        int refusedPasswords = 0;
        for (const std::string& text : texts) {
            refusedPasswords += text == "Error: The password for the Outlook data file \"" +
                                            path.toStdString() + "\" is not correct.";
        }
        // An empty answer is asked again without a message.
        QCOMPARE(refusedPasswords, wrong);
        if (opened) {
            QCOMPARE(std::string(g_Settings().OLPasswordText), std::string("pstqnp`4sT"));
            QVERIFY2(int(texts.size()) > wrong, "the load flow's failure follows");
        } else {
            QCOMPARE(int(texts.size()), wrong);
        }
        QCOMPARE(std::string(g_Settings().OLDataFile), path.toStdString());
    }
};

QTEST_MAIN(OLOptionPageTest)
#include "OLOptionPageTest.moc"
