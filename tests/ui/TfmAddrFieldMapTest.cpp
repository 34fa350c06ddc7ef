// The contacts custom field mapping dialog: each source's tab, image, texts and lists (the
// source's contact field table after "[Not Set]"), the stored codes shown and stored again,
// Cancel, a stored code that is no field, the link to the user guide, and btnMap of the second
// Lotus Notes options page, which opens the dialog and prepares the mapping after OK.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "misc/CustomFieldMap.h"
#include "misc/Settings.h"
#include "palm/PalmConvert.h"
#include "ui/TfmAddrFieldMap.h"
#include "ui/TfmLNOption2.h"

namespace {

template <typename T> T* Find(QWidget* parent, const QString& name)
{
    T* widget = parent->findChild<T*>(name);
    if (!widget) {
        qFatal("no control named %s", qPrintable(name));
    }
    return widget;
}

QComboBox* List(QWidget* dialog, const char* code, int slot)
{
    return Find<QComboBox>(dialog, QString("cb%1Custom%2").arg(code).arg(slot));
}

// Runs answer on the modal dialog of type T as soon as one is up.
template <class T> void WhenModal(std::function<void(T*)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

struct Source
{
    AppKind kind;
    const char* code;
    int firstID;
};

const Source kSources[] = {{kAppACT, "ACT", kCustomIDACT},
                           {kAppGoogle, "GG", kCustomIDGoogle},
                           {kAppOutlook, "OL", kCustomIDOutlook},
                           {kAppPalm, "PD", kCustomIDPalm}};

const Source& SourceOf(AppKind kind)
{
    for (const Source& source : kSources) {
        if (source.kind == kind) {
            return source;
        }
    }
    qFatal("no source %d", int(kind));
}

} // namespace

class TfmAddrFieldMapTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<fwtest::TempHome> m_home;
    std::unique_ptr<fwtest::RecordingFrontEnd> m_frontEnd;

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        m_frontEnd = std::make_unique<fwtest::RecordingFrontEnd>();
        m_frontEnd->makeViews = false;
        SetFrontEnd(m_frontEnd.get());
        BeginSession(fwtest::TestApps());
        g_Settings() = FWSettings{};
        ClearMappedFields();
    }

    void cleanup()
    {
        EndSession(false);
        SetFrontEnd(nullptr);
        PmSetContactVersionKind(0);
        ClearMappedFields();
        m_frontEnd.reset();
        m_home.reset();
    }

    // The dialog for each source: only its tab (current) and its image, the texts with its
    // name, nine lists of 170 pixels labelled "Custom 1:" .. "Custom 9:", each "[Not Set]" then
    // the source's contact field table in order with the fields' codes.
    void showsTheSourceAndItsFieldTable_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("palmVersionKind"); // the Palm Desktop contacts' version kind; 0: none
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("labelButton");
        QTest::addColumn<int>("fields");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("ACT!") << int(kAppACT) << 0 << "ACT! Contacts"
                              << "ACT! Contacts Field Mapping"
                              << "" << 89 << "Record ID"
                              << "Secondary Is Private";
        QTest::newRow("Google") << int(kAppGoogle) << 0 << "Google Contacts"
                                << "Google Contacts Field Mapping"
                                << "Edit Google Contacts Custom Labels" << 91 << "First Name"
                                << "Last Modification Time";
        QTest::newRow("Outlook") << int(kAppOutlook) << 0 << "Outlook Contacts"
                                 << "Outlook Contacts Field Mapping"
                                 << "Edit Outlook Contacts Custom Labels" << 75 << "Account"
                                 << "Category";
        QTest::newRow("Palm Desktop classic") << int(kAppPalm) << 1 << "Palm Desktop Contacts"
                                              << "Palm Desktop Contacts Field Mapping"
                                              << "" << 23 << "First Name"
                                              << "Note";
        // Without a Palm Desktop version to go by, the catalogue is the newest generation's.
        QTest::newRow("Palm Desktop, no version") << int(kAppPalm) << 0 << "Palm Desktop Contacts"
                                                  << "Palm Desktop Contacts Field Mapping"
                                                  << "" << 54 << "First Name"
                                                  << "Note";
    }

    void showsTheSourceAndItsFieldTable()
    {
        QFETCH(int, kind);
        QFETCH(int, palmVersionKind);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, labelButton);
        QFETCH(int, fields);
        QFETCH(QString, first);
        QFETCH(QString, last);
        PmSetContactVersionKind(palmVersionKind);
        const Source& source = SourceOf(static_cast<AppKind>(kind));
        TfmAddrFieldMap dialog;
        dialog.Prepare(source.kind);
        dialog.show();

        QCOMPARE(dialog.windowTitle(), QString("Contacts Custom Field Mapping"));
        QCOMPARE(dialog.width(), 648);
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(Find<QLabel>(&dialog, "lblTitle")->text(),
                 QString("Set %1 and Lotus Notes Contacts custom fields mapping.").arg(name));
        QCOMPARE(
            Find<QLabel>(&dialog, "lblTopLine1")->text(),
            QString("If the custom field mapping information is not set, the %1 fields will be copied to "
                    "with Lotus Notes Contacts")
                .arg(name));
        QCOMPARE(Find<QLabel>(&dialog, "lblRef")->text(), QString("More about migrating fields ..."));
        const QString code(source.code);
        QCOMPARE(
            Find<QLabel>(&dialog, "lbl" + code + "Detail1")->text(),
            QString("In this sheet, you may choose which %1 fields should be mapped to Lotus Notes Contacts "
                    "custom fields.")
                .arg(name));
        QCOMPARE(Find<QLabel>(&dialog, "lbl" + code + "Detail2")->text(),
                 QString("%1 Fields ==> Lotus Notes Contacts Custom Fields").arg(name));

        auto* tabs = Find<QTabWidget>(&dialog, "pMap");
        for (const Source& other : kSources) {
            QWidget* tab = Find<QWidget>(&dialog, QString("t") + other.code);
            QCOMPARE(tabs->isTabVisible(tabs->indexOf(tab)), &other == &source);
            QCOMPARE(Find<QLabel>(&dialog, QString("img") + other.code)->isVisible(), &other == &source);
        }
        QVERIFY(!Find<QLabel>(&dialog, "imgLN")->isVisible());
        QCOMPARE(tabs->currentWidget()->objectName(), "t" + code);
        QCOMPARE(tabs->tabText(tabs->currentIndex()), caption);
        for (const char* button : {"btnGGLabel", "btnOLLabel"}) {
            auto* found = dialog.findChild<QPushButton*>(button);
            const bool here = found != nullptr && found->isVisible();
            QCOMPARE(here, !labelButton.isEmpty() && QString(button) == "btn" + code + "Label");
            if (here) {
                QCOMPARE(found->text(), labelButton);
            }
        }
        QCOMPARE(Find<QPushButton>(&dialog, "btnOK")->text(), QString("&OK"));
        QCOMPARE(Find<QPushButton>(&dialog, "btnCancel")->text(), QString("&Cancel"));

        const std::vector<CxAppField> table = ConnectorRegistry::Instance().App(source.kind)->contactFields();
        QCOMPARE(int(table.size()), fields);
        for (int slot = 1; slot <= 9; ++slot) {
            QComboBox* list = List(&dialog, source.code, slot);
            QCOMPARE(list->width(), 170);
            bool labelled = false;
            for (QLabel* label : dialog.findChildren<QLabel*>()) {
                labelled =
                    labelled || (label->buddy() == list && label->text() == QString("Custom %1:").arg(slot));
            }
            QVERIFY2(labelled, qPrintable(list->objectName()));
            QCOMPARE(list->count(), fields + 1);
            QCOMPARE(list->itemText(0), QString("[Not Set]"));
            QCOMPARE(list->itemData(0).toInt(), 0);
            QCOMPARE(list->currentIndex(), 0);
            for (int entry = 1; entry < list->count(); ++entry) {
                QCOMPARE(list->itemText(entry), QString::fromStdString(table[entry - 1].label));
                QCOMPARE(list->itemData(entry).toInt(), table[entry - 1].id);
            }
            QCOMPARE(list->itemText(1), first);
            QCOMPARE(list->itemText(fields), last);
        }
    }

    // A kind that is not a mapping source shows no tab and no image, keeps its texts, and OK
    // changes no setting.
    void aKindWithoutMappingShowsNothing()
    {
        for (int i = 0; i < kCustomIDCount; ++i) {
            g_Settings().CustomID[i] = i + 1;
        }
        const FWSettings before = g_Settings();
        TfmAddrFieldMap dialog;
        const QString title = Find<QLabel>(&dialog, "lblTitle")->text();
        dialog.Prepare(kAppNotes);
        dialog.show();
        QCOMPARE(Find<QLabel>(&dialog, "lblTitle")->text(), title);
        auto* tabs = Find<QTabWidget>(&dialog, "pMap");
        for (const Source& source : kSources) {
            QVERIFY(!tabs->isTabVisible(tabs->indexOf(Find<QWidget>(&dialog, QString("t") + source.code))));
            QVERIFY(!Find<QLabel>(&dialog, QString("img") + source.code)->isVisible());
        }
        Find<QPushButton>(&dialog, "btnOK")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(std::equal(std::begin(before.CustomID), std::end(before.CustomID), g_Settings().CustomID));
    }

    // The stored codes are selected (or "[Not Set]" for a code that is no field); OK stores the
    // selected codes, 0 for "[Not Set]", in the source's nine settings and in no other; Cancel
    // after changes stores nothing.
    void storesTheChosenCodes_data()
    {
        using Codes = QList<int>;
        QTest::addColumn<int>("kind");
        QTest::addColumn<Codes>("stored");
        QTest::addColumn<int>("slot");      // the list to change; 0: none
        QTest::addColumn<QString>("shown"); // what that list shows before the change
        QTest::addColumn<QString>("choose");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<Codes>("saved");
        const Codes set = {1, 2, 18, 4, 5, 6, 7, 8, 9};
        QTest::newRow("Outlook: code 18 is Company Phone") << int(kAppOutlook) << set << 3 << "Company Phone"
                                                           << "Company Phone" << true << set;
        QTest::newRow("Outlook: choose another field")
            << int(kAppOutlook) << set << 5 << "Birthday"
            << "Computer Name" << true << Codes{1, 2, 18, 4, 20, 6, 7, 8, 9};
        QTest::newRow("Outlook: every slot [Not Set]")
            << int(kAppOutlook) << set << -1 << ""
            << "[Not Set]" << true << Codes{0, 0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("Outlook: Cancel after changes") << int(kAppOutlook) << set << -1 << ""
                                                       << "[Not Set]" << false << set;
        QTest::newRow("Google: a code that is no field shows [Not Set] and stores 0")
            << int(kAppGoogle) << Codes{6, 89, 9, 0, 0, 0, 0, 0, 0} << 2 << "[Not Set]"
            << "" << true << Codes{6, 0, 9, 0, 0, 0, 0, 0, 0};
        QTest::newRow("ACT!: a negative code is no field either")
            << int(kAppACT) << Codes{-3, 0, 0, 0, 0, 0, 0, 0, 5} << 1 << "[Not Set]"
            << "Company" << true << Codes{14, 0, 0, 0, 0, 0, 0, 0, 5};
        QTest::newRow("ACT!: Cancel") << int(kAppACT) << Codes{0, 0, 0, 0, 0, 0, 0, 0, 5} << 9 << "Category"
                                      << "Company" << false << Codes{0, 0, 0, 0, 0, 0, 0, 0, 5};
    }

    void storesTheChosenCodes()
    {
        using Codes = QList<int>;
        QFETCH(int, kind);
        QFETCH(Codes, stored);
        QFETCH(int, slot);
        QFETCH(QString, shown);
        QFETCH(QString, choose);
        QFETCH(bool, ok);
        QFETCH(Codes, saved);
        const Source& source = SourceOf(static_cast<AppKind>(kind));
        FWSettings& settings = g_Settings();
        // Every other slot of every kind holds a mark that no store may touch.
        for (int i = 0; i < kCustomIDCount; ++i) {
            settings.CustomID[i] = 1000 + i;
        }
        for (int i = 0; i < 9; ++i) {
            settings.CustomID[source.firstID + i] = stored[i];
        }
        TfmAddrFieldMap dialog;
        dialog.Prepare(source.kind);
        dialog.show();
        for (int i = 1; i <= 9; ++i) {
            QComboBox* list = List(&dialog, source.code, i);
            if (slot == i) {
                QCOMPARE(list->currentText(), shown);
            }
            if (slot == i || slot == -1) {
                const int entry = list->findText(choose);
                QVERIFY2(entry >= 0 || choose.isEmpty(), qPrintable(choose));
                if (entry >= 0) {
                    list->setCurrentIndex(entry);
                }
            }
        }
        Find<QPushButton>(&dialog, ok ? "btnOK" : "btnCancel")->click();
        QCOMPARE(dialog.result(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        for (int i = 0; i < kCustomIDCount; ++i) {
            const int offset = i - source.firstID;
            const int expected = offset >= 0 && offset < 9 ? saved[offset] : 1000 + i;
            QCOMPARE(settings.CustomID[i], expected);
        }
    }

    // "More about migrating fields ..." opens the user guide at its section on the mapping.
    void theReferenceOpensTheUserGuide()
    {
        const std::string log = m_home->Path("opened.log");
        const std::string opener =
            m_home->WriteFile("bin/opener.sh", "#!/bin/sh\necho \"$1\" >> " + log + "\n");
        QFile::setPermissions(QString::fromStdString(opener),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_home->SetEnv("FERRYWISE_OPEN_COMMAND", opener);
        TfmAddrFieldMap dialog;
        dialog.Prepare(kAppOutlook);
        dialog.show();
        QTest::mouseClick(Find<QLabel>(&dialog, "lblRef"), Qt::LeftButton);
        QTRY_VERIFY(QFile::exists(QString::fromStdString(log)));
        const QString opened = QString::fromStdString(m_home->ReadFile("opened.log")).trimmed();
        QVERIFY2(opened.startsWith("file:///") && opened.endsWith("/user-guide.html#field-mapping"),
                 qPrintable(opened));
        QVERIFY(m_frontEnd->boxes.empty());
    }

    // btnMap follows cbFieldMap and opens the dialog of the chosen source; OK stores the codes
    // and prepares the mapping at once, Cancel leaves both as they were.
    void btnMapOpensTheDialog_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void btnMapOpensTheDialog()
    {
        QFETCH(bool, ok);
        FWSettings& settings = g_Settings();
        settings.SourceApp = kAppGoogle;
        settings.SyncAddr = true;
        settings.GGCustom = true;
        settings.CustomID[kCustomIDGoogle] = 9;
        TfmLNOption2 page;
        page.show();
        page.EnterPage();
        auto* map = Find<QPushButton>(&page, "btnMap");
        QVERIFY(map->isEnabled());
        Find<QCheckBox>(&page, "cbFieldMap")->setChecked(false);
        QVERIFY(!map->isEnabled());
        Find<QCheckBox>(&page, "cbFieldMap")->setChecked(true);
        QVERIFY(map->isEnabled());

        QString current;
        QString first;
        WhenModal<TfmAddrFieldMap>([&](TfmAddrFieldMap* dialog) {
            QCOMPARE(dialog->parentWidget(), &page);
            current = Find<QTabWidget>(dialog, "pMap")->currentWidget()->objectName();
            first = List(dialog, "GG", 1)->currentText();
            QComboBox* second = List(dialog, "GG", 2);
            second->setCurrentIndex(second->findText("Company Name"));
            Find<QPushButton>(dialog, ok ? "btnOK" : "btnCancel")->click();
        });
        map->click();
        QCOMPARE(current, QString("tGG"));
        QCOMPARE(first, QString("Email(Work)"));
        QVERIFY(page.findChild<TfmAddrFieldMap*>() == nullptr); // destroyed after it closed
        QCOMPARE(settings.CustomID[kCustomIDGoogle + 1], ok ? 6 : 0);
        QCOMPARE(GetMappedField(kAppGoogle, 1), ok ? 9 : 0);
        QCOMPARE(GetMappedField(kAppGoogle, 2), ok ? 6 : 0);
    }
};

QTEST_MAIN(TfmAddrFieldMapTest)
#include "TfmAddrFieldMapTest.moc"
