// The record detail dialogs on native records made by hand: captions, the rows each list shows
// and leaves out, the "Recurrence" tab, and an empty dialog without connector or native record.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <cstring>
#include <memory>

#include "ACT/ACTRecords.h"
#include "common/PinnedLocale.h"
#include "google/GGAddrRecord.h"
#include "misc/CxConnector.h"
#include "outlook/OlAddrRec.h"
#include "outlook/OlDateRec.h"
#include "outlook/OlTaskRec.h"
#include "palm/PalmItems.h"
#include "ui/TfmRecordDetail.h"

namespace {

const fwtest::PinnedLocale kPinned{"Europe/Berlin"};

class AnyConnector : public CxConnector
{
public:
    bool Load() override { return true; }
    void Clear() override {}
    void Configure(const ConnectorConfig&) override {}
};

template <class Rec> Rec Zeroed()
{
    Rec r;
    std::memset(static_cast<void*>(&r), 0, sizeof r);
    return r;
}

// A common record pointing at its native record as an owned copy of that size (size 0: borrowed).
template <class Comm, class Native> Comm Owning(Native& native, std::uint32_t size = sizeof(Native))
{
    auto r = Zeroed<Comm>();
    r.NativeRecord = &native;
    r.NativeSize = size;
    return r;
}

QStringList Column(const QWidget& dialog, const char* list, int column = 0)
{
    QStringList texts;
    const auto* view = dialog.findChild<QTreeWidget*>(list);
    for (int row = 0; view != nullptr && row < view->topLevelItemCount(); ++row) {
        texts << view->topLevelItem(row)->text(column);
    }
    return texts;
}

QString Row(const QWidget& dialog, const char* list, const QString& label)
{
    const auto* view = dialog.findChild<QTreeWidget*>(list);
    for (int row = 0; view != nullptr && row < view->topLevelItemCount(); ++row) {
        if (view->topLevelItem(row)->text(0) == label) {
            return view->topLevelItem(row)->text(view->columnCount() - 1);
        }
    }
    return QStringLiteral("<no row>");
}

QString Edit(const QWidget& dialog, const char* name)
{
    if (const auto* edit = dialog.findChild<QLineEdit*>(name)) {
        return edit->text();
    }
    if (const auto* edit = dialog.findChild<QPlainTextEdit*>(name)) {
        return edit->toPlainText();
    }
    return QStringLiteral("<no edit>");
}

bool Checked(const QWidget& dialog, const char* name)
{
    const auto* button = dialog.findChild<QAbstractButton*>(name);
    return button != nullptr && button->isChecked();
}

bool TabShown(const TfmRecordDetail& dialog, const char* name)
{
    QTabWidget* tabs = dialog.GetTabs();
    const int index = tabs->indexOf(dialog.findChild<QWidget*>(name));
    return index >= 0 && tabs->isTabVisible(index);
}

AnyConnector g_connector;

} // namespace

Q_DECLARE_METATYPE(AppKind)
Q_DECLARE_METATYPE(DataType)

class RecordDetailTest : public QObject
{
    Q_OBJECT

private slots:
    void dialogOfEachSource_data()
    {
        QTest::addColumn<AppKind>("source");
        QTest::addColumn<DataType>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("header");
        struct Case
        {
            AppKind source;
            DataType type;
            const char* name;
            const char* caption;
            const char* header;
        };
        const Case cases[] = {
            {kAppOutlook, kDataContacts, "TfmOLAddrDetail", "Outlook Contact Record Details",
             "Outlook Contact"},
            {kAppOutlook, kDataCalendar, "TfmOLDateDetail", "Outlook Calendar Record Details",
             "Outlook Calendar"},
            {kAppOutlook, kDataTasks, "TfmOLTaskDetail", "Outlook Task Record Details", "Outlook Task"},
            {kAppOutlook, kDataNotes, "TfmOLNoteDetail", "Outlook Note Record Details", "Outlook Note"},
            {kAppACT, kDataContacts, "TfmACTAddrDetail", "ACT! Contact Record Details", "ACT! Contact"},
            {kAppACT, kDataCalendar, "TfmACTDateDetail", "ACT! Calendar Record Details", "ACT! Calendar"},
            {kAppACT, kDataTasks, "TfmACTTaskDetail", "ACT! Todo Record Details", "ACT! Todo"},
            {kAppACT, kDataNotes, "TfmACTNoteDetail", "ACT! Note Record Details", "ACT! Note"},
            {kAppGoogle, kDataContacts, "TfmGGAddrDetail", "Google Contact Record Details", "Google Contact"},
            {kAppGoogle, kDataCalendar, "TfmGGDateDetail", "Google Calendar Record Details",
             "Google Calendar"},
            {kAppPalm, kDataContacts, "TfmPDAddrDetail", "View Palm Desktop Contact Record Details",
             "Palm Desktop Contact"},
            {kAppPalm, kDataCalendar, "TfmPDDateDetail", "Palm Desktop Calendar Record Details",
             "Palm Desktop Calendar"},
            {kAppPalm, kDataTasks, "TfmPDTaskDetail", "Palm Desktop Task Record Details",
             "Palm Desktop Task"},
            {kAppPalm, kDataNotes, "TfmPDNoteDetail", "Palm Desktop Memo Record Details",
             "Palm Desktop Memo"},
        };
        for (const Case& c : cases) {
            QTest::newRow(c.name) << c.source << c.type << c.name << c.caption << c.header;
        }
    }

    void dialogOfEachSource()
    {
        QFETCH(AppKind, source);
        QFETCH(DataType, type);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, header);
        QWidget owner;
        std::unique_ptr<TfmRecordDetail> dialog = MakeRecordDetail(source, type, &owner);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->objectName(), name);
        QCOMPARE(dialog->windowTitle(), caption);
        QCOMPARE(dialog->parentWidget(), &owner);
        QCOMPARE(dialog->findChild<QLabel*>("lblHeader")->text(),
                 QStringLiteral("View detail information of the %1 record.").arg(header));
        QCOMPARE(dialog->findChild<QPushButton*>("btnClose")->text(), QStringLiteral("&Close"));
    }

    void noDialogForGoogleTasksNotesOrLotusNotes()
    {
        QVERIFY(MakeRecordDetail(kAppGoogle, kDataTasks, nullptr) == nullptr);
        QVERIFY(MakeRecordDetail(kAppGoogle, kDataNotes, nullptr) == nullptr);
        QVERIFY(MakeRecordDetail(kAppNotes, kDataContacts, nullptr) == nullptr);
    }

    void outlookContactListsOnlyFilledFields()
    {
        auto native = Zeroed<OlAddrRec>();
        std::strcpy(native.FullName, "Ann Lee");
        std::strcpy(native.MobileTelephoneNumber, "0170 1234");
        std::strcpy(native.Email1Address, "ann@example.org");
        std::strcpy(native.UserPropNames[0], "Shoe");
        std::strcpy(native.UserPropValues[0], "42");
        std::strcpy(native.UserPropNames[2], "Hat");
        std::strcpy(native.UserPropValues[2], "7");
        std::strcpy(native.BusinessAddressCity, "Bonn");
        auto record = Owning<CommAddrRec>(native);
        TfmOLAddrDetail dialog;
        dialog.SetRecord(&g_connector, &record);
        QCOMPARE(Edit(dialog, "edtName"), QStringLiteral("Ann Lee"));
        QCOMPARE(Edit(dialog, "edtWorkCity"), QStringLiteral("Bonn"));
        QCOMPARE(Column(dialog, "lvPhones"), (QStringList{"Mobile Phone", "Email 1"}));
        QCOMPARE(Column(dialog, "lvUser"), (QStringList{"1", "3"}));
        QCOMPARE(Column(dialog, "lvUser", 1), (QStringList{"Shoe", "Hat"}));
        QCOMPARE(Column(dialog, "lvUser", 2), (QStringList{"42", "7"}));
        // Gender is the one row of the misc list that is always there.
        QCOMPARE(Column(dialog, "lvMisc"), (QStringList{"Gender"}));
        QCOMPARE(Row(dialog, "lvMisc", "Gender"), QStringLiteral("Not Specified"));
        QCOMPARE(dialog.GetTabs()->currentIndex(), 0);
    }

    void emptyWithoutConnectorOrNativeRecord()
    {
        auto native = Zeroed<OlAddrRec>();
        std::strcpy(native.FullName, "Ann Lee");
        auto withNative = Owning<CommAddrRec>(native);
        auto withoutNative = Zeroed<CommAddrRec>();
        // An owned native record of another size is not an Outlook contact.
        auto otherSize = Owning<CommAddrRec>(native, 16);
        struct Case
        {
            CxConnector* connector;
            CommAddrRec* record;
        };
        for (Case c : {Case{nullptr, &withNative}, Case{&g_connector, &withoutNative},
                       Case{&g_connector, &otherSize}}) {
            TfmOLAddrDetail dialog;
            dialog.SetRecord(c.connector, c.record);
            QCOMPARE(Edit(dialog, "edtName"), QString());
            QCOMPARE(Column(dialog, "lvMisc"), QStringList());
        }
        TfmOLAddrDetail dialog;
        dialog.SetRecord(&g_connector, CommRecordPtr());
        QCOMPARE(Column(dialog, "lvMisc"), QStringList());
    }

    void outlookRecurrence_data()
    {
        QTest::addColumn<int>("recurrenceType");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("mask");
        QTest::addColumn<QString>("shown"); // empty: no "Recurrence" tab
        QTest::addColumn<QString>("every");
        QTest::addColumn<QStringList>("ticked");
        QTest::newRow("no pattern") << -1 << 0 << 0 << QString() << QString() << QStringList();
        QTest::newRow("weekly Mon+Wed every 2") << 1 << 2 << 10 << "tWeekly"
                                                << "edtWeeklyEvery" << QStringList{"cbMonday", "cbWednesday"};
        QTest::newRow("daily every 3") << 0 << 3 << 0 << "tDaily"
                                       << "edtDailyEvery" << QStringList();
        QTest::newRow("monthly on the n-th weekday") << 3 << 1 << 2 << "tMonthly"
                                                     << "edtMonthlyEvery" << QStringList{"rbtnMonthlyDate"};
        QTest::newRow("monthly on a day") << 2 << 1 << 0 << "tMonthly"
                                          << "edtMonthlyEvery" << QStringList{"rbtnMonthlyDay"};
        QTest::newRow("yearly") << 5 << 1 << 0 << "tYearly"
                                << "edtYearlyEvery" << QStringList();
    }

    void outlookRecurrence()
    {
        QFETCH(int, recurrenceType);
        QFETCH(int, interval);
        QFETCH(int, mask);
        QFETCH(QString, shown);
        QFETCH(QString, every);
        QFETCH(QStringList, ticked);
        auto native = Zeroed<OlDateRec>();
        std::strcpy(native.Subject, "Standup");
        native.Start = 46000.375;
        native.End = 46000.4;
        native.IsRecurring = recurrenceType >= 0;
        native.RecurrenceType = recurrenceType;
        native.Interval = interval;
        native.DayOfWeekMask = mask;
        auto record = Owning<CommDateRec>(native);
        TfmOLDateDetail dialog;
        dialog.SetRecord(&g_connector, &record);
        QCOMPARE(Edit(dialog, "edtDescription"), QStringLiteral("Standup"));
        QCOMPARE(TabShown(dialog, "tRecurrence"), !shown.isEmpty());
        if (shown.isEmpty()) {
            return;
        }
        auto* inner = dialog.findChild<QTabWidget*>("pRecurrence");
        for (int i = 0; i < inner->count(); ++i) {
            QCOMPARE(inner->isTabVisible(i), inner->widget(i)->objectName() == shown);
        }
        QCOMPARE(inner->currentWidget()->objectName(), shown);
        QCOMPARE(Edit(dialog, every.toLatin1().constData()), QString::number(interval));
        for (const char* day : {"cbSunday", "cbMonday", "cbTuesday", "cbWednesday", "cbThursday", "cbFriday",
                                "cbSaturday", "rbtnMonthlyDay", "rbtnMonthlyDate"}) {
            QCOMPARE(Checked(dialog, day), ticked.contains(QString::fromLatin1(day)));
        }
        QVERIFY(Checked(dialog, "rbtnNoEnd"));
    }

    void outlookNoteColour_data()
    {
        QTest::addColumn<int>("color");
        QTest::addColumn<QString>("text");
        QTest::newRow("blue") << 0 << "Blue";
        QTest::newRow("3 has no name") << 3 << "<no row>";
        QTest::newRow("yellow") << 5 << "Yellow";
        QTest::newRow("out of range") << 9 << "<no row>";
    }

    void outlookNoteColour()
    {
        QFETCH(int, color);
        QFETCH(QString, text);
        auto native = Zeroed<OlNoteRec>();
        std::strcpy(native.Body, "Buy milk");
        native.Color = color;
        auto record = Owning<CommNoteRec>(native);
        TfmOLNoteDetail dialog;
        dialog.SetRecord(&g_connector, &record);
        QCOMPARE(Edit(dialog, "edtNotes"), QStringLiteral("Buy milk"));
        QCOMPARE(Row(dialog, "lvMisc", "Color"), text);
        // No subject, no category: those rows are left out.
        QCOMPARE(Row(dialog, "lvMisc", "Subject"), QStringLiteral("<no row>"));
    }

    void outlookTaskRows()
    {
        auto native = Zeroed<OlTaskRec>();
        native.Importance = 2;
        native.Sensitivity = 3;
        native.Status = 3;
        native.PercentComplete = 0;
        native.RecurrenceType = -1;
        auto record = Owning<CommTaskRec>(native);
        TfmOLTaskDetail dialog;
        dialog.SetRecord(&g_connector, &record);
        QCOMPARE(Edit(dialog, "edtPriority"), QStringLiteral("High"));
        QVERIFY(Checked(dialog, "cbPrivate"));
        QCOMPARE(Column(dialog, "lvMisc"),
                 (QStringList{"Card Data", "Reminder Set", "Status", "Team Task", "Total Work"}));
        QCOMPARE(Row(dialog, "lvMisc", "Status"), QStringLiteral("Waiting"));
    }

    void actContactPhonesAndMisc()
    {
        auto native = Zeroed<ACTAddrRec>();
        std::strcpy(native.FullName, "Bob Fox");
        std::strcpy(native.BusinessPhone, "555-1234");
        std::strcpy(native.BusinessPhoneExtension, "12");
        std::strcpy(native.Fax, "555-9999");
        std::strcpy(native.PersonalEmail, "bob@example.org");
        std::strcpy(native.RecordCreator, "Admin");
        std::strcpy(native.BusinessAddress1, "A");
        std::strcpy(native.BusinessAddress3, "C");
        std::strcpy(native.UserDefined2, "blue");
        auto record = Owning<CommAddrRec>(native);
        TfmACTAddrDetail dialog;
        dialog.SetRecord(&g_connector, &record);
        QCOMPARE(Edit(dialog, "edtName"), QStringLiteral("Bob Fox"));
        QCOMPARE(Edit(dialog, "edtWorkAddress"), QStringLiteral("A\nC"));
        QCOMPARE(Column(dialog, "lvPhones"), (QStringList{"Work Phone", "Fax", "Personal Email"}));
        QCOMPARE(Row(dialog, "lvPhones", "Work Phone"), QStringLiteral("555-1234 * 12"));
        QCOMPARE(Row(dialog, "lvPhones", "Fax"), QStringLiteral("555-9999"));
        QCOMPARE(Row(dialog, "lvMisc", "Rcord Creator"), QStringLiteral("Admin"));
        QCOMPARE(Column(dialog, "lvMisc").size(), 21);
        QCOMPARE(Column(dialog, "lvSecondary").size(), 18);
        QCOMPARE(Column(dialog, "lvCustom"), (QStringList{"2"}));
    }

    void actEventRecurrence()
    {
        auto native = Zeroed<ACTDateRec>();
        std::strcpy(native.Subject, "Review");
        native.ActivityCode = 2;
        native.RepeatFrequency = 3;
        native.RepeatType = 1;
        native.RepeatValue = 15;
        native.RepeatInterval = 1;
        native.RepeatEnd = 1.0;
        auto record = Owning<CommDateRec>(native);
        TfmACTDateDetail dialog;
        dialog.SetRecord(&g_connector, &record);
        QCOMPARE(Edit(dialog, "edtEventType"), QStringLiteral("Call"));
        QVERIFY(TabShown(dialog, "tRecurrence"));
        QCOMPARE(dialog.findChild<QTabWidget*>("pRecurrence")->currentWidget()->objectName(),
                 QStringLiteral("tMonthly"));
        QVERIFY(Checked(dialog, "rbtnMonthlyDate"));
        // A repeat end of 1.0 or less is no end.
        QVERIFY(Checked(dialog, "rbtnNoEnd"));
    }

    void googleContactCustomFields()
    {
        auto native = Zeroed<GGAddrRec>();
        std::strcpy(native.DisplayName, "Cy");
        native.PhoneKinds[0] = GGPhoneMobile;
        std::strcpy(native.Phones[0], "0171");
        native.AddressKinds[0] = GGAddressWork;
        std::strcpy(native.Cities[0], "Ulm");
        std::strcpy(native.CustomLabels[0], "Team");
        std::strcpy(native.CustomFields[0], "Red");
        std::strcpy(native.CustomFields[3], "x");
        auto record = Owning<CommAddrRec>(native);
        TfmGGAddrDetail dialog;
        dialog.SetRecord(&g_connector, &record);
        QCOMPARE(Edit(dialog, "edtName"), QStringLiteral("Cy"));
        QCOMPARE(Edit(dialog, "edtWorkCity"), QStringLiteral("Ulm"));
        QCOMPARE(Edit(dialog, "edtHomeCity"), QString());
        QCOMPARE(Column(dialog, "lvPhones"), (QStringList{"Phone(Mobile)"}));
        QCOMPARE(Column(dialog, "lvCustom"), (QStringList{"1", "4"}));
        QCOMPARE(Column(dialog, "lvCustom", 1), (QStringList{"Team", "[None]"}));
        QCOMPARE(dialog.GetTabs()->tabText(0), QStringLiteral("Misc Fields"));
    }

    void palmMemoAndTodo()
    {
        PmMemoItem memo;
        auto note = Owning<CommNoteRec>(memo, 0);
        std::strcpy(note.Body, "Line 1\r\nLine 2");
        std::strcpy(note.Categories, "Personal");
        note.Private = 1;
        TfmPDNoteDetail noteDialog;
        noteDialog.SetRecord(&g_connector, &note);
        QCOMPARE(Row(noteDialog, "lvMisc", "Private"), QStringLiteral("Yes"));
        QCOMPARE(Row(noteDialog, "lvMisc", "Category"), QStringLiteral("Personal"));

        PmTodoItem todo;
        todo.generation = 3;
        PmTodoEx2Rec ex2;
        ex2.completeDate = 1105790400; // 15 January 2005, 12:00 UTC
        todo.native = ex2;
        auto task = Owning<CommTaskRec>(todo, 0);
        task.Priority = 2;
        task.Completed = 1;
        TfmPDTaskDetail taskDialog;
        taskDialog.SetRecord(&g_connector, &task);
        QCOMPARE(Edit(taskDialog, "edtPriority"), QStringLiteral("Low"));
        QVERIFY(Checked(taskDialog, "cbCompleted"));
        QCOMPARE(Row(taskDialog, "lvMisc", "Complete Date"), QStringLiteral("01/15/2005"));
    }

    void closeButtonCloses()
    {
        TfmOLTaskDetail dialog;
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnClose"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(RecordDetailTest)
#include "RecordDetailTest.moc"
