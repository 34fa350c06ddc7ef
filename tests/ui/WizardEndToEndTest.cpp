// The wizard from the source page to the results page against the stand-in Lotus Notes
// helpers (real connectors, real helper programs, a local Lotus Notes in a temporary home) and
// a stand-in Palm Desktop source; a second run finds the migrated records the same.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cstdlib>
#include <memory>

#include "common/TempHome.h"
#include "engine/FakeConnector.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "lotus/LNRegistration.h"
#include "misc/Settings.h"
#include "notes/LNLocalSetup.h"
#include "ui/TfmMain.h"
#include "ui/TfmPage.h"

class WizardEndToEndTest : public QObject
{
    Q_OBJECT

private:
    QString Count(TfmMain& main, const char* name)
    {
        auto* label = main.PageOfStep(5)->findChild<QLabel*>(name);
        return label != nullptr ? label->text() : QString("(missing)");
    }

    // One pass through the wizard with Palm Desktop contacts and notes; gives false when it
    // stopped before the results page.
    bool RunWizard(TfmMain& main)
    {
        main.findChild<QRadioButton*>("rbtnPD")->click();
        for (const char* box : {"cbAddr", "cbDate", "cbTask", "cbNote"}) {
            main.findChild<QCheckBox*>(box)->setChecked(QByteArray(box) == "cbAddr" ||
                                                        QByteArray(box) == "cbNote");
        }
        auto* next = main.findChild<QPushButton*>("btnNext");
        for (int step = 1; step <= 5; ++step) {
            next->click();
            if (main.CurrentStep() != step) {
                qWarning("stopped at step %d", main.CurrentStep());
                for (const auto& box : m_frontEnd->boxes) {
                    qWarning("message: %s", box.text.c_str());
                }
                return false;
            }
        }
        return true;
    }

    std::unique_ptr<fwtest::TempHome> m_home;
    std::unique_ptr<fwtest::RecordingFrontEnd> m_frontEnd;

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        // The helper programs are built beside the wizard.
        ::setenv("FERRYWISE_HELPER_DIR", QT_TESTCASE_BUILDDIR "/../bin", 1);
        m_frontEnd = std::make_unique<fwtest::RecordingFrontEnd>();
        m_frontEnd->makeViews = false;
        SetFrontEnd(m_frontEnd.get());
        SetFlowPause(std::chrono::milliseconds(0));
        LNLocalSetupResult local;
        std::string error;
        QVERIFY2(EnsureLocalLotusNotes(local, error), error.c_str());
        RegisterLotusConnectors();
        fwtest::Plans().clear();
        fwtest::RegisterFakes({kAppPalm});
        fwtest::PlanOf(kAppPalm, kDataContacts).records = {{"Anna Berg", "Berg & Sons"},
                                                           {"Bruno Costa", "Costa"}};
        fwtest::PlanOf(kAppPalm, kDataNotes).records = {{"Timetable", "Summer schedule"}};
    }

    void cleanup()
    {
        UnregisterAllConnectors();
        SetFrontEnd(nullptr);
        m_frontEnd.reset();
        ::unsetenv("FERRYWISE_HELPER_DIR");
        m_home.reset();
    }

    void migratesAndASecondRunFindsTheRecordsTheSame()
    {
        TfmMain main;
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        main.show();
        QVERIFY(RunWizard(main));
        QCOMPARE(Count(main, "lblAddrCount"), QString("2"));
        QCOMPARE(Count(main, "lblNoteCount"), QString("1"));
        QCOMPARE(Count(main, "lblDateCount"), QString("0"));
        QVERIFY(m_frontEnd->dialogs.empty());

        main.findChild<QPushButton*>("btnPrev")->click(); // Restart
        QCOMPARE(main.CurrentStep(), 0);
        QVERIFY(RunWizard(main));
        QCOMPARE(Count(main, "lblAddrCount"), QString("0"));
        QCOMPARE(Count(main, "lblNoteCount"), QString("0"));
    }
};

QTEST_MAIN(WizardEndToEndTest)
#include "WizardEndToEndTest.moc"
