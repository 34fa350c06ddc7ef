#include "ui/TfmRecordDetail.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "ACT/ACTRecords.h"
#include "google/GGAddrFieldTable.h"
#include "google/GGAddrRecord.h"
#include "google/GGDateRecord.h"
#include "misc/CxConnector.h"
#include "misc/CxDateTime.h"
#include "outlook/OlAddrRec.h"
#include "outlook/OlDateRec.h"
#include "outlook/OlTaskRec.h"
#include "palm/PalmConvert.h"
#include "palm/PalmItems.h"
#include "platform/CodePage.h"

namespace {

// Native texts are in the ANSI code page.
QString Ansi(std::string_view text)
{
    const std::u16string wide = platform::AnsiToUtf16(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

template <std::size_t N> QString Text(const char (&field)[N])
{
    return Ansi(std::string_view(field, strnlen(field, N)));
}

QString Number(int value)
{
    return QString::asprintf("%d", value);
}

QString YesNo(bool value)
{
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

QString OleDate(double date)
{
    if (date == 0.0) {
        return {};
    }
    char text[64] = {};
    CxDateTime(date).FormatDate(text);
    return QString::fromLatin1(text);
}

QString OleDateTime(double date)
{
    if (date == 0.0) {
        return {};
    }
    char text[64] = {};
    CxDateTime(date).FormatDateTime(text);
    return QString::fromLatin1(text);
}

QString SysDate(const SYSTEMTIME& time)
{
    char text[64] = {};
    CxDateTime(time).FormatDate(text);
    return QString::fromLatin1(text);
}

QString SysDateTime(const SYSTEMTIME& time)
{
    char text[64] = {};
    CxDateTime(time).FormatDateTime(text);
    return QString::fromLatin1(text);
}

// A calendar time value as a date; none for 0 and below.
QString TimeTDate(std::int32_t value)
{
    if (value <= 0) {
        return {};
    }
    CxDateTime date;
    date.SetTimeT(value);
    char text[64] = {};
    date.FormatDate(text);
    return QString::fromLatin1(text);
}

// A check box or radio button that shows a value and never takes one from the user.
void DisplayOnly(QWidget* widget)
{
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    widget->setFocusPolicy(Qt::NoFocus);
}

QLineEdit* ReadOnlyEdit(QWidget* parent, const QString& name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

const char* const kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};

// The native record behind a common record.
const void* NativeOf(const CommRecordPtr& record, std::uint32_t* size)
{
    return VisitRecord(
        record,
        [size](auto& r) -> const void* {
            *size = r.NativeSize;
            return r.NativeRecord;
        },
        []() -> const void* { return nullptr; });
}

template <class Native> const Native& NativeAs(const CommRecordPtr& record)
{
    std::uint32_t size = 0;
    return *static_cast<const Native*>(NativeOf(record, &size));
}

template <class Rec> const Rec& CommonAs(const CommRecordPtr& record)
{
    return *std::get<Rec*>(record);
}

} // namespace

TfmRecordDetail::TfmRecordDetail(const char* name, const char* caption, const char* app, const char* kind,
                                 std::size_t nativeSize, QWidget* parent)
    : QDialog(parent), m_nativeSize(nativeSize)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(QString::fromLatin1(caption));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(QStringLiteral("View detail information of the %1 %2 record.")
                                  .arg(QString::fromLatin1(app), QString::fromLatin1(kind)),
                              this);
    header->setObjectName(QStringLiteral("lblHeader"));
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    layout->addWidget(header);
    m_topHolder = new QVBoxLayout();
    layout->addLayout(m_topHolder);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pDetail"));
    // Every tab caption stays in sight: the dialog is as wide as its tabs need.
    m_tabs->setUsesScrollButtons(false);
    layout->addWidget(m_tabs, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setDefault(true);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 520);
}

void TfmRecordDetail::SetRecord(CxConnector* connector, const CommRecordPtr& record)
{
    std::uint32_t size = 0;
    const void* native = NativeOf(record, &size);
    if (connector == nullptr || native == nullptr) {
        return;
    }
    // An owned copy of another size is not the record this dialog reads.
    if (size != 0 && m_nativeSize != 0 && size != m_nativeSize) {
        return;
    }
    Fill(record);
    m_tabs->setCurrentIndex(0);
}

QFormLayout* TfmRecordDetail::TopForm()
{
    if (m_top == nullptr) {
        m_top = new QFormLayout();
        m_topHolder->addLayout(m_top);
    }
    return m_top;
}

QWidget* TfmRecordDetail::AddTab(QTabWidget* tabs, const char* name, const char* caption)
{
    auto* page = new QWidget(tabs);
    page->setObjectName(QString::fromLatin1(name));
    tabs->addTab(page, QString::fromLatin1(caption));
    return page;
}

QFormLayout* TfmRecordDetail::AddFormTab(QTabWidget* tabs, const char* name, const char* caption)
{
    return new QFormLayout(AddTab(tabs, name, caption));
}

void TfmRecordDetail::AddField(QFormLayout* form, const char* name, const char* label, bool multiLine)
{
    QWidget* parent = form->parentWidget() != nullptr ? form->parentWidget() : this;
    auto* caption = new QLabel(QString::fromLatin1(label), parent);
    if (multiLine) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 4 + 12);
        form->addRow(caption, edit);
    } else {
        form->addRow(caption, ReadOnlyEdit(parent, QString::fromLatin1(name)));
    }
}

void TfmRecordDetail::AddCheck(QFormLayout* form, const char* name, const char* caption)
{
    QWidget* parent = form->parentWidget() != nullptr ? form->parentWidget() : this;
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    DisplayOnly(box);
    form->addRow(QString(), box);
}

void TfmRecordDetail::AddTextTab(const char* name, const char* caption, const char* edit)
{
    QWidget* page = AddTab(m_tabs, name, caption);
    auto* layout = new QVBoxLayout(page);
    auto* text = new QPlainTextEdit(page);
    text->setObjectName(QString::fromLatin1(edit));
    text->setReadOnly(true);
    layout->addWidget(text);
}

void TfmRecordDetail::AddListTab(const char* name, const char* caption, const char* list,
                                 std::span<const char* const> names)
{
    QStringList columns;
    for (const char* column : names) {
        columns << QString::fromLatin1(column);
    }
    QWidget* page = AddTab(m_tabs, name, caption);
    auto* layout = new QVBoxLayout(page);
    auto* view = new QTreeWidget(page);
    view->setObjectName(QString::fromLatin1(list));
    view->setRootIsDecorated(false);
    view->setColumnCount(static_cast<int>(columns.size()));
    view->setHeaderLabels(columns);
    view->setAllColumnsShowFocus(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int first = columns.size() > 2 ? 50 : 170;
    view->header()->resizeSection(0, first);
    if (columns.size() > 2) {
        view->header()->resizeSection(1, 150);
    }
    layout->addWidget(view);
}

QVBoxLayout* TfmRecordDetail::AddAddressTab(const char* name, std::span<const char* const> inner,
                                            const char* postal)
{
    QWidget* page = AddTab(m_tabs, name, "Addresses");
    auto* layout = new QVBoxLayout(page);
    auto* tabs = new QTabWidget(page);
    tabs->setObjectName(QStringLiteral("pAddresses"));
    layout->addWidget(tabs);
    for (const char* each : inner) {
        const QByteArray key(each);
        QFormLayout* form = AddFormTab(tabs, ("t" + key).constData(), key.constData());
        AddField(form, ("edt" + key + "Address").constData(), "Address:", true);
        AddField(form, ("edt" + key + "City").constData(), "City:");
        AddField(form, ("edt" + key + "State").constData(), "State:");
        AddField(form, ("edt" + key + "Postal").constData(), postal);
        AddField(form, ("edt" + key + "Country").constData(), "Country:");
    }
    return layout;
}

void TfmRecordDetail::AddRecurrenceTab(bool withStart, bool yearlyBy)
{
    QWidget* page = AddTab(m_tabs, "tRecurrence", "Recurrence");
    auto* layout = new QVBoxLayout(page);
    auto* tabs = new QTabWidget(page);
    tabs->setObjectName(QStringLiteral("pRecurrence"));
    layout->addWidget(tabs);

    struct Pattern
    {
        const char* Name;
        const char* Caption;
        const char* Unit;
    };
    const Pattern patterns[4] = {{"Daily", "Daily", "days."},
                                 {"Weekly", "Weekly", "weeks on:"},
                                 {"Monthly", "Monthly", "months"},
                                 {"Yearly", "Yearly", "years"}};
    for (int i = 0; i < 4; ++i) {
        const QByteArray key(patterns[i].Name);
        QWidget* sheet = AddTab(tabs, ("t" + key).constData(), patterns[i].Caption);
        auto* sheetLayout = new QVBoxLayout(sheet);
        auto* every = new QHBoxLayout();
        every->addWidget(new QLabel(QStringLiteral("Every"), sheet));
        QLineEdit* interval = ReadOnlyEdit(sheet, QString::fromLatin1("edt" + key + "Every"));
        interval->setFixedWidth(60);
        every->addWidget(interval);
        every->addWidget(new QLabel(QString::fromLatin1(patterns[i].Unit), sheet));
        every->addStretch(1);
        sheetLayout->addLayout(every);
        if (i == 1) {
            auto* days = new QGridLayout();
            for (int day = 0; day < 7; ++day) {
                auto* box = new QCheckBox(QString::fromLatin1(kDayNames[day]), sheet);
                box->setObjectName(QStringLiteral("cb") + QString::fromLatin1(kDayNames[day]));
                DisplayOnly(box);
                days->addWidget(box, day / 4, day % 4);
            }
            sheetLayout->addLayout(days);
        }
        if (i == 2 || (i == 3 && yearlyBy)) {
            auto* by = new QHBoxLayout();
            by->addWidget(new QLabel(QStringLiteral("By:"), sheet));
            auto* group = new QButtonGroup(sheet);
            for (const char* choice : {"Day", "Date"}) {
                auto* button = new QRadioButton(QString::fromLatin1(choice), sheet);
                button->setObjectName(QString::fromLatin1("rbtn" + key + choice));
                DisplayOnly(button);
                group->addButton(button);
                by->addWidget(button);
            }
            by->addStretch(1);
            sheetLayout->addLayout(by);
        }
        sheetLayout->addStretch(1);
    }

    auto* range = new QGroupBox(QStringLiteral(" Recurrence Range "), page);
    range->setObjectName(QStringLiteral("gbRange"));
    auto* grid = new QGridLayout(range);
    int row = 0;
    if (withStart) {
        grid->addWidget(new QLabel(QStringLiteral("Start:"), range), row, 0);
        grid->addWidget(ReadOnlyEdit(range, QStringLiteral("edtRangeStart")), row, 1);
        ++row;
    }
    auto* endBy = new QRadioButton(QStringLiteral("End by"), range);
    endBy->setObjectName(QStringLiteral("rbtnEndBy"));
    DisplayOnly(endBy);
    grid->addWidget(endBy, row, 0);
    grid->addWidget(ReadOnlyEdit(range, QStringLiteral("edtEndBy")), row, 1);
    auto* noEnd = new QRadioButton(QStringLiteral("No end date"), range);
    noEnd->setObjectName(QStringLiteral("rbtnNoEnd"));
    DisplayOnly(noEnd);
    grid->addWidget(noEnd, row + 1, 0);
    layout->addWidget(range);
}

void TfmRecordDetail::Build(std::span<const Item> layout)
{
    static constexpr Item kDateFields[] = {
        Item::Field("edtDescription", "Description:"), Item::Field("edtDate", "Date:"),
        Item::Field("edtStart", "Start time:"),        Item::Field("edtEnd", "End time:"),
        Item::Field("edtLocation", "Location:"),
    };
    bool anyTab = false;
    bool recurrence = false;
    QFormLayout* form = nullptr;
    // An address tab's page layout, where a form for further fields goes below the inner tabs.
    QVBoxLayout* below = nullptr;
    const auto fields = [&]() {
        if (form == nullptr && below != nullptr) {
            form = new QFormLayout();
            below->addLayout(form);
        }
        if (form == nullptr) {
            Q_ASSERT(!anyTab);
            form = TopForm();
        }
        return form;
    };
    const auto tab = [&](QFormLayout* tabForm = nullptr, QVBoxLayout* tabBelow = nullptr) {
        anyTab = true;
        form = tabForm;
        below = tabBelow;
    };
    for (const Item& item : layout) {
        switch (item.What) {
        case Item::kField:
            AddField(fields(), item.Name, item.Caption);
            break;
        case Item::kCheck:
            AddCheck(fields(), item.Name, item.Caption);
            break;
        case Item::kDateFields:
            for (const Item& field : kDateFields) {
                AddField(fields(), field.Name, field.Caption);
            }
            break;
        case Item::kFormTab:
            tab(AddFormTab(m_tabs, item.Name, item.Caption));
            break;
        case Item::kTextTab:
            AddTextTab(item.Name, item.Caption, item.Control);
            tab();
            break;
        case Item::kListTab:
            AddListTab(item.Name, item.Caption, item.Control, item.Names);
            tab();
            break;
        case Item::kAddressTab:
            tab(nullptr, AddAddressTab(item.Name, item.Names, item.Control));
            break;
        case Item::kRecurrenceTab:
            AddRecurrenceTab(item.RangeStart, item.YearlyBy);
            recurrence = true;
            tab();
            break;
        }
    }
    if (recurrence) {
        ShowRecurrence(-1, 0, 0, false, {}, {});
    }
}

void TfmRecordDetail::SetText(const char* name, const QString& text)
{
    const QString key = QString::fromLatin1(name);
    if (auto* edit = findChild<QLineEdit*>(key)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* multi = findChild<QPlainTextEdit*>(key)) {
        multi->setPlainText(text);
    } else if (auto* label = findChild<QLabel*>(key)) {
        label->setText(text);
    }
}

void TfmRecordDetail::SetCheck(const char* name, bool checked)
{
    if (auto* button = findChild<QAbstractButton*>(QString::fromLatin1(name))) {
        button->setChecked(checked);
    }
}

void TfmRecordDetail::AddRow(const char* list, const QStringList& texts)
{
    if (auto* view = findChild<QTreeWidget*>(QString::fromLatin1(list))) {
        view->addTopLevelItem(new QTreeWidgetItem(texts));
    }
}

void TfmRecordDetail::SetAddress(const char* inner, const QString& street, const QString& city,
                                 const QString& state, const QString& postal, const QString& country)
{
    const QByteArray key = QByteArray("edt") + inner;
    SetText((key + "Address").constData(), street);
    SetText((key + "City").constData(), city);
    SetText((key + "State").constData(), state);
    SetText((key + "Postal").constData(), postal);
    SetText((key + "Country").constData(), country);
}

void TfmRecordDetail::ShowRecurrence(int which, int interval, int dayMask, bool byDate, const QString& start,
                                     const QString& end)
{
    auto* page = findChild<QWidget*>(QStringLiteral("tRecurrence"));
    auto* inner = findChild<QTabWidget*>(QStringLiteral("pRecurrence"));
    if (page == nullptr || inner == nullptr) {
        return;
    }
    m_tabs->setTabVisible(m_tabs->indexOf(page), which >= 0 && which < 4);
    if (which < 0 || which >= 4) {
        return;
    }
    for (int i = 0; i < inner->count(); ++i) {
        inner->setTabVisible(i, i == which);
    }
    inner->setCurrentIndex(which);
    static const char* const kEvery[4] = {"edtDailyEvery", "edtWeeklyEvery", "edtMonthlyEvery",
                                          "edtYearlyEvery"};
    SetText(kEvery[which], Number(interval));
    if (which == 1) {
        for (int day = 0; day < 7; ++day) {
            SetCheck(("cb" + QByteArray(kDayNames[day])).constData(), (dayMask & (1 << day)) != 0);
        }
    }
    if (which == 2) {
        SetCheck(byDate ? "rbtnMonthlyDate" : "rbtnMonthlyDay", true);
    }
    if (which == 3) {
        SetCheck(byDate ? "rbtnYearlyDate" : "rbtnYearlyDay", true);
    }
    SetText("edtRangeStart", start);
    SetCheck(end.isEmpty() ? "rbtnNoEnd" : "rbtnEndBy", true);
    SetText("edtEndBy", end);
}

// ---- Outlook ----

namespace {

using Item = TfmRecordDetail::Item;

constexpr const char* kFieldColumns[] = {"Field Name", "Field Content"};
constexpr const char* kLabelColumns[] = {"Label", "Content"};
constexpr const char* kPhoneColumns[] = {"Description", "Content"};
constexpr const char* kCustomColumns[] = {"Seq.", "Custom Label", "Custom Content"};

// The layouts that dialogs of more than one source share.
constexpr Item kNotesTab = Item::TextTab("tNotes", "Notes", "edtNotes");
constexpr Item kMiscTab = Item::ListTab("tMisc", "Misc Fields", "lvMisc", kFieldColumns);
constexpr Item kTaskLayout[] = {
    Item::FormTab("tGeneral", "General"),
    Item::Field("edtDescription", "Description:"),
    Item::Field("edtPriority", "Priority:"),
    Item::Field("edtDueDate", "Due Date:"),
    Item::Field("edtCategory", "Category:"),
    Item::Check("cbCompleted", "Completed"),
    Item::Check("cbPrivate", "Private"),
    kNotesTab,
    kMiscTab,
};
constexpr Item kNoteLayout[] = {kNotesTab, kMiscTab};
// The calendar of Outlook and Palm Desktop; only the latter's "Yearly" has a "By:" choice.
constexpr std::array<Item, 9> CalendarLayout(bool yearlyBy)
{
    return {Item::FormTab("tGeneral", "General"),
            Item::DateFields(),
            Item::Field("edtCategory", "Category:"),
            Item::Check("cbAllDay", "All day event"),
            Item::Check("cbAlarm", "Alarm"),
            Item::Check("cbPrivate", "Private"),
            kNotesTab,
            Item::RecurrenceTab(/*rangeStart=*/false, yearlyBy),
            kMiscTab};
}

} // namespace

TfmOLAddrDetail::TfmOLAddrDetail(QWidget* parent)
    : TfmRecordDetail("TfmOLAddrDetail", "Outlook Contact Record Details", "Outlook", "Contact",
                      sizeof(OlAddrRec), parent)
{
    static constexpr const char* kAddresses[] = {"Work", "Home", "Other", "Mail"};
    static constexpr Item kLayout[] = {
        Item::Field("edtName", "Name:"),
        Item::Field("edtCompany", "Company:"),
        Item::Field("edtJobTitle", "Job Title:"),
        kNotesTab,
        Item::AddressTab("tAddresses", kAddresses, "Postal:"),
        Item::ListTab("tMisc", "Misc Fields", "lvMisc", kLabelColumns),
        Item::ListTab("tPhones", "Phones and Emails", "lvPhones", kPhoneColumns),
        Item::ListTab("tUser", "User-Defined Fields", "lvUser", kCustomColumns),
    };
    Build(kLayout);
}

void TfmOLAddrDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<OlAddrRec>(record);
    SetText("edtName", Text(n.FullName));
    SetText("edtCompany", Text(n.CompanyName));
    SetText("edtJobTitle", Text(n.JobTitle));
    SetText("edtNotes", Text(n.Body));
    SetAddress("Work", Text(n.BusinessAddressStreet), Text(n.BusinessAddressCity),
               Text(n.BusinessAddressState), Text(n.BusinessAddressPostalCode),
               Text(n.BusinessAddressCountry));
    SetAddress("Home", Text(n.HomeAddressStreet), Text(n.HomeAddressCity), Text(n.HomeAddressState),
               Text(n.HomeAddressPostalCode), Text(n.HomeAddressCountry));
    SetAddress("Other", Text(n.OtherAddressStreet), Text(n.OtherAddressCity), Text(n.OtherAddressState),
               Text(n.OtherAddressPostalCode), Text(n.OtherAddressCountry));
    SetAddress("Mail", Text(n.MailingAddressStreet), Text(n.MailingAddressCity), Text(n.MailingAddressState),
               Text(n.MailingAddressPostalCode), Text(n.MailingAddressCountry));

    const auto filled = [this](const char* list, const char* label, const QString& text) {
        if (!text.isEmpty()) {
            AddRow(list, {QString::fromLatin1(label), text});
        }
    };
    filled("lvMisc", "Initials", Text(n.Initials));
    filled("lvMisc", "First Name", Text(n.FirstName));
    filled("lvMisc", "Middle Name", Text(n.MiddleName));
    filled("lvMisc", "Last Name", Text(n.LastName));
    filled("lvMisc", "Nick Name", Text(n.NickName));
    filled("lvMisc", "Account", Text(n.Account));
    filled("lvMisc", "Assistant Name", Text(n.AssistantName));
    filled("lvMisc", "Assistant Phone", Text(n.AssistantTelephoneNumber));
    filled("lvMisc", "Birthday", OleDate(n.Birthday));
    filled("lvMisc", "Computer Name", Text(n.ComputerNetworkName));
    filled("lvMisc", "Customer ID", Text(n.CustomerID));
    filled("lvMisc", "Department", Text(n.Department));
    filled("lvMisc", "FTP Site", Text(n.FTPSite));
    AddRow("lvMisc", {QStringLiteral("Gender"), n.Gender == 1   ? QStringLiteral("Female")
                                                : n.Gender == 2 ? QStringLiteral("Male")
                                                                : QStringLiteral("Not Specified")});
    filled("lvMisc", "Hobbies", Text(n.Hobby));
    filled("lvMisc", "IM Address", Text(n.IMAddress));
    filled("lvMisc", "ISDN", Text(n.ISDNNumber));
    filled("lvMisc", "Language", Text(n.Language));
    filled("lvMisc", "Manager Name", Text(n.ManagerName));
    filled("lvMisc", "Business Homepage", Text(n.BusinessHomePage));
    filled("lvMisc", "Personal Homepage", Text(n.PersonalHomePage));
    filled("lvMisc", "Profession", Text(n.Profession));
    filled("lvMisc", "Spouse", Text(n.Spouse));

    filled("lvPhones", "Business Phone", Text(n.BusinessTelephoneNumber));
    filled("lvPhones", "Business Phone 2", Text(n.Business2TelephoneNumber));
    filled("lvPhones", "Company Phone", Text(n.CompanyMainTelephoneNumber));
    filled("lvPhones", "Home Phone", Text(n.HomeTelephoneNumber));
    filled("lvPhones", "Home Phone 2", Text(n.Home2TelephoneNumber));
    filled("lvPhones", "Mobile Phone", Text(n.MobileTelephoneNumber));
    filled("lvPhones", "Callback Phone", Text(n.CallbackTelephoneNumber));
    filled("lvPhones", "Car Phone", Text(n.CarTelephoneNumber));
    filled("lvPhones", "Business Fax", Text(n.BusinessFaxNumber));
    filled("lvPhones", "Home Fax", Text(n.HomeFaxNumber));
    filled("lvPhones", "Pager", Text(n.PagerNumber));
    filled("lvPhones", "Email 1", Text(n.Email1Address));
    filled("lvPhones", "Email 2", Text(n.Email2Address));
    filled("lvPhones", "Email 3", Text(n.Email3Address));

    for (int slot = 0; slot < kOlUserProps; ++slot) {
        const QString value = Text(n.UserPropValues[slot]);
        if (!value.isEmpty()) {
            AddRow("lvUser", {Number(slot + 1), Text(n.UserPropNames[slot]), value});
        }
    }
}

namespace {

// Outlook's response status texts.
QString ResponseStatus(int value)
{
    switch (value) {
    case 1:
        return QStringLiteral("Organized");
    case 2:
        return QStringLiteral("Tentative");
    case 3:
        return QStringLiteral("Accepted");
    case 4:
        return QStringLiteral("Declined");
    case 5:
        return QStringLiteral("Not Responsed");
    default:
        return QStringLiteral("None");
    }
}

} // namespace

TfmOLDateDetail::TfmOLDateDetail(QWidget* parent)
    : TfmRecordDetail("TfmOLDateDetail", "Outlook Calendar Record Details", "Outlook", "Calendar",
                      sizeof(OlDateRec), parent)
{
    static constexpr auto kLayout = CalendarLayout(false);
    Build(kLayout);
}

void TfmOLDateDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<OlDateRec>(record);
    SetText("edtDescription", Text(n.Subject));
    SetText("edtDate", OleDate(n.Start));
    SetText("edtStart", OleDateTime(n.Start));
    SetText("edtEnd", OleDateTime(n.End));
    SetText("edtLocation", Text(n.Location));
    SetText("edtCategory", Text(n.Categories));
    SetCheck("cbAllDay", n.AllDayEvent != 0);
    SetCheck("cbAlarm", n.ReminderSet != 0);
    // The reader keeps no sensitivity for appointments: "Private" stays unticked.
    SetCheck("cbPrivate", false);
    SetText("edtNotes", Text(n.Body));

    int which = -1;
    bool byDate = false;
    switch (n.RecurrenceType) {
    case kOlRecursDaily:
        which = 0;
        break;
    case kOlRecursWeekly:
        which = 1;
        break;
    case kOlRecursMonthly:
        which = 2;
        break;
    case kOlRecursMonthNth:
        which = 2;
        byDate = true;
        break;
    case kOlRecursYearly:
    case kOlRecursYearNth:
        which = 3;
        break;
    default:
        break;
    }
    ShowRecurrence(which, n.Interval, n.DayOfWeekMask, byDate, {}, OleDate(n.PatternEndDate));

    // Mileage, the response and the reminder's override and sound are not read from Outlook:
    // their rows show the empty values.
    AddRow("lvMisc", {QStringLiteral("Response Requested"), YesNo(false)});
    AddRow("lvMisc", {QStringLiteral("Response Status"), ResponseStatus(0)});
    AddRow("lvMisc", {QStringLiteral("Reminder Set"), YesNo(n.ReminderSet != 0)});
    if (n.ReminderSet != 0 && n.ReminderTime > 0) {
        AddRow("lvMisc", {QStringLiteral("Reminder Time"), OleDateTime(n.ReminderTime)});
    }
    if (n.ReminderSet != 0) {
        AddRow("lvMisc", {QStringLiteral("Reminder Override Default"), YesNo(false)});
        AddRow("lvMisc", {QStringLiteral("Reminder Play Sound"), YesNo(false)});
    }
    if (n.CreationTime != 0) {
        AddRow("lvMisc", {QStringLiteral("Creation Time"), OleDateTime(n.CreationTime)});
    }
    if (n.LastModificationTime != 0) {
        AddRow("lvMisc", {QStringLiteral("Last Modification Time"), OleDateTime(n.LastModificationTime)});
    }
}

TfmOLTaskDetail::TfmOLTaskDetail(QWidget* parent)
    : TfmRecordDetail("TfmOLTaskDetail", "Outlook Task Record Details", "Outlook", "Task", sizeof(OlTaskRec),
                      parent)
{
    Build(kTaskLayout);
}

void TfmOLTaskDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<OlTaskRec>(record);
    SetText("edtDescription", Text(n.Subject));
    SetText("edtPriority", n.Importance == 2   ? QStringLiteral("High")
                           : n.Importance == 0 ? QStringLiteral("Low")
                                               : QStringLiteral("Normal"));
    SetText("edtDueDate", OleDate(n.DueDate));
    SetText("edtCategory", Text(n.Categories));
    SetCheck("cbCompleted", n.Complete != 0);
    SetCheck("cbPrivate", n.Sensitivity == 2 || n.Sensitivity == 3);
    SetText("edtNotes", Text(n.Body));

    const auto row = [this](const char* label, const QString& text) {
        AddRow("lvMisc", {QString::fromLatin1(label), text});
    };
    row("Card Data", Text(n.CardData));
    if (n.Mileage[0] != '\0') {
        row("Mileage", Text(n.Mileage));
    }
    if (n.Ordinal > 0) {
        row("Ordinal", Number(n.Ordinal));
    }
    if (n.PercentComplete > 0) {
        row("Percent Completed", Number(n.PercentComplete));
    }
    row("Reminder Set", YesNo(n.ReminderSet != 0));
    if (n.ReminderSet != 0 && n.ReminderTime > 0) {
        row("Reminder Time", OleDateTime(n.ReminderTime));
    }
    if (n.ReminderSet != 0) {
        row("Reminder Override Default", YesNo(n.ReminderOverrideDefault != 0));
        row("Reminder Play Sound", YesNo(n.ReminderPlaySound != 0));
        if (n.ReminderPlaySound != 0 && n.ReminderSoundFile[0] != '\0') {
            row("Reminder Sound File", Text(n.ReminderSoundFile));
        }
    }
    if (n.Role[0] != '\0') {
        row("Role", Text(n.Role));
    }
    if (n.StartDate > 0) {
        row("Start Date", OleDate(n.StartDate));
    }
    static const char* const kStatus[] = {"Not Started", "In Progress", "Completed", "Waiting", "Deferred"};
    row("Status", QString::fromLatin1(n.Status >= 0 && n.Status < 5 ? kStatus[n.Status] : "Unknown"));
    row("Team Task", YesNo(n.TeamTask != 0));
    row("Total Work", Number(n.TotalWork));
    if (n.CreationTime != 0) {
        row("Creation Time", OleDateTime(n.CreationTime));
    }
    if (n.LastModificationTime != 0) {
        row("Last Modification Time", OleDateTime(n.LastModificationTime));
    }
}

TfmOLNoteDetail::TfmOLNoteDetail(QWidget* parent)
    : TfmRecordDetail("TfmOLNoteDetail", "Outlook Note Record Details", "Outlook", "Note", sizeof(OlNoteRec),
                      parent)
{
    Build(kNoteLayout);
}

void TfmOLNoteDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<OlNoteRec>(record);
    SetText("edtNotes", Text(n.Body));
    if (n.Subject[0] != '\0') {
        AddRow("lvMisc", {QStringLiteral("Subject"), Text(n.Subject)});
    }
    static const char* const kColors[] = {"Blue", "Green", "Pink", nullptr, "White", "Yellow"};
    if (n.Color >= 0 && n.Color < 6 && kColors[n.Color] != nullptr) {
        AddRow("lvMisc", {QStringLiteral("Color"), QString::fromLatin1(kColors[n.Color])});
    }
    if (n.Categories[0] != '\0') {
        AddRow("lvMisc", {QStringLiteral("Category"), Text(n.Categories)});
    }
    AddRow("lvMisc", {QStringLiteral("Creation Time"), OleDateTime(n.CreationTime)});
    AddRow("lvMisc", {QStringLiteral("Last Modification Time"), OleDateTime(n.LastModificationTime)});
}

// ---- ACT! ----

namespace {

QString Lines(const char* a, const char* b, const char* c)
{
    QStringList lines;
    for (const char* line : {a, b, c}) {
        if (line[0] != '\0') {
            lines << Ansi(line);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

// ACT!'s dates below 0.001 stand for none.
QString ActDate(double date)
{
    return date < 0.001 ? QString() : OleDate(date);
}

QString ActDateTime(double date)
{
    return date < 0.001 ? QString() : OleDateTime(date);
}

} // namespace

TfmACTAddrDetail::TfmACTAddrDetail(QWidget* parent)
    : TfmRecordDetail("TfmACTAddrDetail", "ACT! Contact Record Details", "ACT!", "Contact",
                      sizeof(ACTAddrRec), parent)
{
    static constexpr const char* kAddresses[] = {"Work", "Home", "Secondary"};
    static constexpr const char* kSecondaryColumns[] = {"Field", "Content"};
    static constexpr const char* kNumberedColumns[] = {"Seq.", "Custom Content"};
    static constexpr Item kLayout[] = {
        Item::Field("edtName", "Name:"),
        Item::Field("edtCompany", "Company:"),
        Item::Field("edtJobTitle", "Job Title:"),
        Item::AddressTab("tAddresses", kAddresses, "Postal:"),
        Item::ListTab("tSecondary", "Secondary Contacts", "lvSecondary", kSecondaryColumns),
        Item::ListTab("tMisc", "Misc Fields", "lvMisc", kLabelColumns),
        kNotesTab,
        Item::ListTab("tCustom", "Custom Fields", "lvCustom", kNumberedColumns),
        Item::ListTab("tPhones", "Phones and Emails", "lvPhones", kPhoneColumns),
    };
    Build(kLayout);
}

void TfmACTAddrDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<ACTAddrRec>(record);
    SetText("edtName", Text(n.FullName));
    SetText("edtCompany", Text(n.Company));
    SetText("edtJobTitle", Text(n.Title));
    SetAddress("Work", Lines(n.BusinessAddress1, n.BusinessAddress2, n.BusinessAddress3),
               Text(n.BusinessCity), Text(n.BusinessState), Text(n.BusinessPostal), Text(n.BusinessCountry));
    SetAddress("Home", Lines(n.HomeAddress1, n.HomeAddress2, n.HomeAddress3), Text(n.HomeCity),
               Text(n.HomeState), Text(n.HomePostal), Text(n.HomeCountry));
    SetAddress("Secondary", Lines(n.SecondaryAddress1, n.SecondaryAddress2, n.SecondaryAddress3),
               Text(n.SecondaryCity), Text(n.SecondaryState), Text(n.SecondaryPostal),
               Text(n.SecondaryCountry));

    const auto row = [this](const char* list, const char* label, const QString& text) {
        AddRow(list, {QString::fromLatin1(label), text});
    };
    row("lvSecondary", "First Name", Text(n.SecondaryFirstName));
    row("lvSecondary", "Last Name", Text(n.SecondaryLastName));
    row("lvSecondary", "Contact", Text(n.SecondaryContact));
    row("lvSecondary", "Company", Text(n.SecondaryCompany));
    row("lvSecondary", "Job Title", Text(n.SecondaryTitle));
    row("lvSecondary", "Country", Text(n.SecondaryCountry));
    row("lvSecondary", "State", Text(n.SecondaryState));
    row("lvSecondary", "City", Text(n.SecondaryCity));
    row("lvSecondary", "Address (line 1)", Text(n.SecondaryAddress1));
    row("lvSecondary", "Address (line 2)", Text(n.SecondaryAddress2));
    row("lvSecondary", "Address (line 3)", Text(n.SecondaryAddress3));
    row("lvSecondary", "Postal", Text(n.SecondaryPostal));
    row("lvSecondary", "Work Phone", Text(n.SecondaryPhone));
    row("lvSecondary", "Mobile Phone", Text(n.SecondaryMobilePhone));
    row("lvSecondary", "Email", Text(n.SecondaryEmail));
    row("lvSecondary", "Website", Text(n.SecondaryWebsite));
    row("lvSecondary", "ID/Status", Text(n.SecondaryCategory));
    row("lvSecondary", "Is Private", YesNo(n.SecondaryIsPrivate != 0));

    row("lvMisc", "Rcord Creator", Text(n.RecordCreator));
    row("lvMisc", "Record Manager", Text(n.RecordManager));
    row("lvMisc", "Last Edited By", Text(n.LastEditedBy));
    row("lvMisc", "ID/Status", Text(n.Category));
    row("lvMisc", "Salutation", Text(n.Salutation));
    row("lvMisc", "Referred By", Text(n.ReferredBy));
    row("lvMisc", "Company", Text(n.Company));
    row("lvMisc", "Department", Text(n.Department));
    row("lvMisc", "Job Title", Text(n.Title));
    row("lvMisc", "Website", Text(n.Website));
    row("lvMisc", "Messenger ID", Text(n.InstantMessenger));
    row("lvMisc", "Spouse", Text(n.SpouseName));
    row("lvMisc", "Last Results", Text(n.LastResults));
    row("lvMisc", "Birthday", ActDate(n.Birthday));
    row("lvMisc", "Create Time", ActDateTime(n.CreateDate));
    row("lvMisc", "Edit Time", ActDateTime(n.EditDate));
    row("lvMisc", "Last Attempt Time", ActDateTime(n.LastAttempt));
    row("lvMisc", "Last Email Time", ActDateTime(n.LastEmail));
    row("lvMisc", "Last Meet Time", ActDateTime(n.LastMeeting));
    row("lvMisc", "Last Reach Time", ActDateTime(n.LastReach));
    row("lvMisc", "Last Letter Time", ActDateTime(n.LastLetter));

    const char* const custom[10] = {n.UserDefined1, n.UserDefined2, n.UserDefined3, n.UserDefined4,
                                    n.UserDefined5, n.UserDefined6, n.UserDefined7, n.UserDefined8,
                                    n.UserDefined9, n.UserDefined10};
    for (int i = 0; i < 10; ++i) {
        if (custom[i][0] != '\0') {
            AddRow("lvCustom", {Number(i + 1), Ansi(custom[i])});
        }
    }

    struct Phone
    {
        const char* Label;
        const char* Number;
        const char* Extension;
    };
    const Phone phones[] = {{"Work Phone", n.BusinessPhone, n.BusinessPhoneExtension},
                            {"Home Phone", n.HomePhone, n.HomePhoneExtension},
                            {"Mobile Phone", n.MobilePhone, n.MobilePhoneExtension},
                            {"Alternate Phone", n.AlternatePhone, n.AlternatePhoneExtension},
                            {"Fax", n.Fax, n.FaxExtension},
                            {"Pager", n.Pager, n.PagerExtension}};
    for (const Phone& phone : phones) {
        if (phone.Number[0] != '\0') {
            QString text = Ansi(phone.Number);
            if (phone.Extension[0] != '\0') {
                text += QStringLiteral(" * ") + Ansi(phone.Extension);
            }
            row("lvPhones", phone.Label, text);
        }
    }
    if (n.BusinessEmail[0] != '\0') {
        row("lvPhones", "Work Email", Text(n.BusinessEmail));
    }
    if (n.PersonalEmail[0] != '\0') {
        row("lvPhones", "Personal Email", Text(n.PersonalEmail));
    }
}

TfmACTDateDetail::TfmACTDateDetail(QWidget* parent)
    : TfmRecordDetail("TfmACTDateDetail", "ACT! Calendar Record Details", "ACT!", "Calendar",
                      sizeof(ACTDateRec), parent)
{
    static constexpr Item kLayout[] = {
        Item::FormTab("tGeneral", "General"),
        Item::DateFields(),
        Item::Field("edtEventType", "Event Type:"),
        Item::Check("cbPrivate", "Is Private"),
        Item::Check("cbAllDay", "All day event"),
        Item::RecurrenceTab(/*rangeStart=*/true, /*yearlyBy=*/true),
        kNotesTab,
        kMiscTab,
    };
    Build(kLayout);
}

void TfmACTDateDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<ACTDateRec>(record);
    SetText("edtDescription", Text(n.Subject));
    SetText("edtDate", ActDate(n.Start));
    SetText("edtStart", ActDateTime(n.Start));
    SetText("edtEnd", ActDateTime(n.End));
    SetText("edtLocation", Text(n.Location));
    static const char* const kTypes[] = {"Appointment", "Meeting", "Call", "Todo"};
    SetText("edtEventType",
            QString::fromLatin1(kTypes[n.ActivityCode >= 0 && n.ActivityCode < 4 ? n.ActivityCode : 0]));
    SetCheck("cbPrivate", n.Private != 0);
    SetCheck("cbAllDay", n.AllDay != 0);
    SetText("edtNotes", Text(n.Details));
    // Frequency 1 daily, 2 weekly, 3 monthly, 4 yearly; type 1 repeats on a date.
    const int which = n.RepeatFrequency >= 1 && n.RepeatFrequency <= 4 ? n.RepeatFrequency - 1 : -1;
    ShowRecurrence(which, n.RepeatInterval, n.RepeatValue, n.RepeatType == 1, ActDate(n.Start),
                   n.RepeatEnd > 1.0 ? OleDate(n.RepeatEnd) : QString());
    AddRow("lvMisc", {QStringLiteral("Create Time"), ActDateTime(n.Kept10)});
    AddRow("lvMisc", {QStringLiteral("Edit Date"), ActDateTime(n.Kept11)});
}

TfmACTTaskDetail::TfmACTTaskDetail(QWidget* parent)
    : TfmRecordDetail("TfmACTTaskDetail", "ACT! Todo Record Details", "ACT!", "Todo", sizeof(ACTTaskRec),
                      parent)
{
    // The task layout but for "Category:".
    static constexpr Item kLayout[] = {
        Item::FormTab("tGeneral", "General"),
        Item::Field("edtDescription", "Description:"),
        Item::Field("edtPriority", "Priority:"),
        Item::Field("edtDueDate", "Due Date:"),
        Item::Check("cbCompleted", "Completed"),
        Item::Check("cbPrivate", "Private"),
        kNotesTab,
        kMiscTab,
    };
    Build(kLayout);
}

void TfmACTTaskDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<ACTTaskRec>(record);
    SetText("edtDescription", Text(n.Subject));
    SetText("edtPriority", n.Priority == 0   ? QStringLiteral("High")
                           : n.Priority == 2 ? QStringLiteral("Low")
                                             : QStringLiteral("Normal"));
    SetText("edtDueDate", n.DueDate < 0.001 ? QStringLiteral("N/A") : OleDate(n.DueDate));
    SetCheck("cbCompleted", n.Completed != 0);
    SetCheck("cbPrivate", n.Private != 0);
    SetText("edtNotes", Text(n.Details));
    AddRow("lvMisc", {QStringLiteral("Create Time"), ActDateTime(n.Kept7)});
    AddRow("lvMisc", {QStringLiteral("Edit Date"), ActDateTime(n.Kept8)});
}

TfmACTNoteDetail::TfmACTNoteDetail(QWidget* parent)
    : TfmRecordDetail("TfmACTNoteDetail", "ACT! Note Record Details", "ACT!", "Note", sizeof(ACTNoteRec),
                      parent)
{
    Build(kNoteLayout);
}

void TfmACTNoteDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<ACTNoteRec>(record);
    SetText("edtNotes", Text(n.Text));
    AddRow("lvMisc", {QStringLiteral("Create User Name"), Text(n.Kept4)});
    AddRow("lvMisc", {QStringLiteral("Edit User Name"), Text(n.Kept5)});
    AddRow("lvMisc", {QStringLiteral("Manage User Name"), Text(n.Kept6)});
    AddRow("lvMisc", {QStringLiteral("Private"), YesNo(n.Kept8 != 0)});
    AddRow("lvMisc", {QStringLiteral("Create Time"), ActDateTime(n.Created)});
    AddRow("lvMisc", {QStringLiteral("Edit Time"), ActDateTime(n.Edited)});
}

// ---- Google ----

namespace {

// Field table identifiers of the addresses, home first (home, work, other follow each other).
constexpr int kGGStreet = 27;
constexpr int kGGCity = 15;
constexpr int kGGState = 18;
constexpr int kGGPostal = 24;
constexpr int kGGCountry = 21;

bool IsGGPhoneOrEmail(int id)
{
    return (id >= 8 && id <= 11) || (id >= 36 && id <= 43);
}

bool IsGGMisc(int id)
{
    return (id >= 1 && id <= 7) || (id >= 44 && id <= 60) || (id >= 81 && id <= 88) || id == 91 || id == 92;
}

} // namespace

TfmGGAddrDetail::TfmGGAddrDetail(QWidget* parent)
    : TfmRecordDetail("TfmGGAddrDetail", "Google Contact Record Details", "Google", "Contact",
                      sizeof(GGAddrRec), parent)
{
    static constexpr const char* kAddresses[] = {"Home", "Other", "Work"};
    static constexpr Item kLayout[] = {
        Item::Field("edtName", "Name:"),
        Item::Field("edtCompany", "Company:"),
        Item::Field("edtJobTitle", "Job Title:"),
        Item::ListTab("tMisc", "Misc Fields", "lvMisc", kLabelColumns),
        Item::AddressTab("tAddresses", kAddresses, "Postal:"),
        kNotesTab,
        Item::ListTab("tCustom", "Custom Fields", "lvCustom", kCustomColumns),
        Item::ListTab("tPhones", "Phones and Emails", "lvPhones", kPhoneColumns),
    };
    Build(kLayout);
}

void TfmGGAddrDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<GGAddrRec>(record);
    SetText("edtName", Text(n.DisplayName));
    SetText("edtCompany", Text(n.Company));
    SetText("edtJobTitle", Text(n.JobTitle));
    SetText("edtNotes", Text(n.Note));
    const auto field = [&n](int id) { return Ansi(GGAddrFieldText(n, id)); };
    // Home, work, other in the table's order.
    const char* const inner[3] = {"Home", "Work", "Other"};
    for (int i = 0; i < 3; ++i) {
        SetAddress(inner[i], field(kGGStreet + i), field(kGGCity + i), field(kGGState + i),
                   field(kGGPostal + i), field(kGGCountry + i));
    }
    for (const GGAddrFieldInfo& info : GGAddrFieldTable()) {
        const bool misc = IsGGMisc(info.Id);
        if (!misc && !IsGGPhoneOrEmail(info.Id)) {
            continue;
        }
        const QString text = field(info.Id);
        if (!text.isEmpty()) {
            AddRow(misc ? "lvMisc" : "lvPhones", {QString::fromLatin1(info.Label), text});
        }
    }
    for (int i = 0; i < GGCustomSlots; ++i) {
        if (n.CustomFields[i][0] != '\0') {
            const QString label = Text(n.CustomLabels[i]);
            AddRow("lvCustom", {Number(i + 1), label.isEmpty() ? QStringLiteral("[None]") : label,
                                Text(n.CustomFields[i])});
        }
    }
}

TfmGGDateDetail::TfmGGDateDetail(QWidget* parent)
    : TfmRecordDetail("TfmGGDateDetail", "Google Calendar Record Details", "Google", "Calendar",
                      sizeof(GDateRec), parent)
{
    static constexpr Item kLayout[] = {
        Item::FormTab("tGeneral", "General"),
        Item::DateFields(),
        Item::Field("edtCategory", "Category:"),
        Item::Check("cbAlarm", "Alarm"),
        Item::Check("cbPrivate", "Private"),
        Item::Check("cbAllDay", "All day event"),
        kNotesTab,
        Item::RecurrenceTab(/*rangeStart=*/true, /*yearlyBy=*/false),
        kMiscTab,
    };
    Build(kLayout);
}

void TfmGGDateDetail::Fill(const CommRecordPtr& record)
{
    const auto& n = NativeAs<GDateRec>(record);
    SetText("edtDescription", Text(n.Subject));
    SetText("edtDate", OleDate(n.Start));
    SetText("edtStart", OleDateTime(n.Start));
    SetText("edtEnd", OleDateTime(n.End));
    SetText("edtLocation", Text(n.Location));
    SetText("edtCategory", Text(n.Categories));
    SetCheck("cbAlarm", n.ReminderCount > 0);
    SetCheck("cbAllDay", n.Kept9 == GDateAllDayMark);
    SetText("edtNotes", Text(n.Body));
    // Kinds as RecurrenceRule: 1 daily, 2 weekly, 3 and 4 monthly (4 on a date), 5 and 6 yearly.
    static const int kWhich[7] = {-1, 0, 1, 2, 2, 3, 3};
    const int which = n.RepeatKind >= 0 && n.RepeatKind <= 6 ? kWhich[n.RepeatKind] : -1;
    ShowRecurrence(which, n.Interval, n.DayOfWeekMask, n.RepeatKind == 4 || n.RepeatKind == 6,
                   OleDate(n.PatternStart), n.HasEnd != 0 ? OleDate(n.PatternEnd) : QString());
    AddRow("lvMisc", {QStringLiteral("Creation Time"), OleDateTime(n.Kept30)});
    AddRow("lvMisc", {QStringLiteral("Last Modification Time"), OleDateTime(n.Kept31)});
}

// ---- Palm Desktop ----

namespace {

// The text of the catalogue entry of that name in a contact item; "N/A" when the installed
// catalogue has none.
QString PalmValue(const PmAddrItem& item, std::initializer_list<const char*> names)
{
    const int count = PmCatalogueCount();
    for (const char* name : names) {
        for (int index = 0; index < count; ++index) {
            if (std::strcmp(PmCatalogueName(index), name) == 0) {
                return Ansi(PmAddrItemValue(&item, PmCatalogueKey(index)));
            }
        }
    }
    return QStringLiteral("N/A");
}

constexpr int kPalmPhoneRows = 6;

} // namespace

TfmPDAddrDetail::TfmPDAddrDetail(QWidget* parent)
    : TfmRecordDetail("TfmPDAddrDetail", "View Palm Desktop Contact Record Details", "Palm Desktop",
                      "Contact", 0, parent)
{
    // "General Information" holds a group of phones that Palm's own labels name: made by hand.
    QWidget* page = AddTab(GetTabs(), "tGeneral", "General Information");
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout();
    layout->addLayout(form);
    AddField(form, "edtFirstName", "First Name:");
    AddField(form, "edtLastName", "Last Name:");
    AddField(form, "edtEnglishName", "English Name:");
    AddField(form, "edtCompany", "Company:");
    AddField(form, "edtJobTitle", "Job Title:");
    AddField(form, "edtProfession", "Profession:");
    auto* group = new QGroupBox(QStringLiteral(" Contact Info "), page);
    group->setObjectName(QStringLiteral("gbContactInfo"));
    auto* info = new QFormLayout(group);
    AddField(info, "edtPrimaryContact", "Primary Contact:");
    for (int i = 1; i <= kPalmPhoneRows; ++i) {
        const QByteArray name = "edtPhone" + QByteArray::number(i);
        AddField(info, name.constData(), PmPhoneLabelText(i - 1));
        if (auto* label =
                qobject_cast<QLabel*>(info->labelForField(findChild<QWidget*>(QString::fromLatin1(name))))) {
            label->setObjectName(QString::fromLatin1("lblPhone" + QByteArray::number(i)));
            label->setText(QString::fromLatin1(PmPhoneLabelText(i - 1)) + QLatin1Char(':'));
        }
    }
    layout->addWidget(group);
    layout->addStretch(1);

    static constexpr const char* kAddresses[] = {"Work", "Home", "Other"};
    static constexpr Item kLayout[] = {
        Item::AddressTab("tAddresses", kAddresses, "Zip:"),
        Item::Field("edtAssistantName", "Assistant Name:"),
        Item::Field("edtAssistantPhone", "Assistant Phone:"),
        Item::Field("edtAnniversary", "Anniversary:"),
        Item::Field("edtBirthday", "Birthday:"),
        Item::FormTab("tOnline", "Online Presense"),
        Item::Field("edtIM", "IM:"),
        Item::Field("edtURL", "URL:"),
        Item::FormTab("tCustom", "Custom Fields"),
        Item::Field("edtCustom1", "Custom 1:"),
        Item::Field("edtCustom2", "Custom 2:"),
        Item::Field("edtCustom3", "Custom 3:"),
        Item::Field("edtCustom4", "Custom 4:"),
        Item::Field("edtCustom5", "Custom 5:"),
        Item::Field("edtCustom6", "Custom 6:"),
        Item::Field("edtCustom7", "Custom 7:"),
        Item::Field("edtCustom8", "Custom 8:"),
        Item::Field("edtCustom9", "Custom 9:"),
        kNotesTab,
    };
    Build(kLayout);
}

void TfmPDAddrDetail::Fill(const CommRecordPtr& record)
{
    const auto& item = NativeAs<PmAddrItem>(record);
    SetText("edtFirstName", PalmValue(item, {"First Name"}));
    SetText("edtLastName", PalmValue(item, {"Last Name"}));
    SetText("edtEnglishName", PalmValue(item, {"English Name"}));
    SetText("edtCompany", PalmValue(item, {"Company"}));
    SetText("edtJobTitle", PalmValue(item, {"Job Title"}));
    SetText("edtProfession", PalmValue(item, {"Profession"}));
    SetText("edtPrimaryContact", PalmValue(item, {"Main Phone"}));
    for (int i = 1; i <= kPalmPhoneRows; ++i) {
        SetText(("edtPhone" + QByteArray::number(i)).constData(), PalmValue(item, {PmPhoneLabelText(i - 1)}));
    }
    SetAddress("Work", PalmValue(item, {"Work Street", "Street"}), PalmValue(item, {"Work City", "City"}),
               PalmValue(item, {"Work State", "State"}), PalmValue(item, {"Work Zip", "Zip Code"}),
               PalmValue(item, {"Work Country", "Country"}));
    SetAddress("Home", PalmValue(item, {"Home Street"}), PalmValue(item, {"Home City"}),
               PalmValue(item, {"Home State"}), PalmValue(item, {"Home Zip"}),
               PalmValue(item, {"Home Country"}));
    SetAddress("Other", PalmValue(item, {"Other Street"}), PalmValue(item, {"Other City"}),
               PalmValue(item, {"Other State"}), PalmValue(item, {"Other Zip"}),
               PalmValue(item, {"Other Country"}));
    SetText("edtAssistantName", PalmValue(item, {"Assistant Name"}));
    SetText("edtAssistantPhone", PalmValue(item, {"Assistant Phone"}));
    SetText("edtAnniversary", PalmValue(item, {"Anniversary"}));
    SetText("edtBirthday", PalmValue(item, {"Birthday"}));
    SetText("edtIM", PalmValue(item, {"IM IM", "IM AIM"}));
    SetText("edtURL", PalmValue(item, {"Home Page"}));
    for (int i = 1; i <= 9; ++i) {
        const QByteArray name = "Custom " + QByteArray::number(i);
        SetText(("edtCustom" + QByteArray::number(i)).constData(), PalmValue(item, {name.constData()}));
    }
    SetText("edtNotes", PalmValue(item, {"Note"}));
}

// The Palm calendar, to-do and memo dialogs show the item through the common record the front
// made from it: the conversion is the one reading of the three database generations.
TfmPDDateDetail::TfmPDDateDetail(QWidget* parent)
    : TfmRecordDetail("TfmPDDateDetail", "Palm Desktop Calendar Record Details", "Palm Desktop", "Calendar",
                      0, parent)
{
    static constexpr auto kLayout = CalendarLayout(true);
    Build(kLayout);
}

void TfmPDDateDetail::Fill(const CommRecordPtr& record)
{
    const auto& r = CommonAs<CommDateRec>(record);
    SetText("edtDescription", Text(r.Subject));
    SetText("edtDate", SysDate(r.Start));
    SetText("edtStart", SysDateTime(r.Start));
    SetText("edtEnd", SysDateTime(r.End));
    SetText("edtLocation", Text(r.Location));
    SetText("edtCategory", Text(r.Categories));
    SetCheck("cbAllDay", r.AllDay != 0);
    SetCheck("cbAlarm", r.ReminderSet != 0);
    SetCheck("cbPrivate", r.Private != 0);
    SetText("edtNotes", Text(r.Notes));
    const RecurrenceRule& rule = r.Recurrence;
    static const int kWhich[7] = {-1, 0, 1, 2, 2, 3, 3};
    const int which = rule.Kind >= 0 && rule.Kind <= 6 ? kWhich[rule.Kind] : -1;
    ShowRecurrence(which, rule.Interval, rule.DayOfWeekMask, rule.Kind == 4 || rule.Kind == 6, {},
                   rule.HasEnd != 0 ? SysDate(rule.PatternEnd) : QString());
    if (r.ReminderCount > 0) {
        static const char* const kUnits[] = {"", "minutes", "hours", "days"};
        const Reminder& reminder = r.Reminders[0];
        AddRow("lvMisc",
               {QStringLiteral("Alarm"),
                QStringLiteral("%1 %2")
                    .arg(reminder.Amount)
                    .arg(QString::fromLatin1(reminder.Unit >= 1 && reminder.Unit <= 3 ? kUnits[reminder.Unit]
                                                                                      : "minutes"))});
    }
}

TfmPDTaskDetail::TfmPDTaskDetail(QWidget* parent)
    : TfmRecordDetail("TfmPDTaskDetail", "Palm Desktop Task Record Details", "Palm Desktop", "Task", 0,
                      parent)
{
    Build(kTaskLayout);
}

void TfmPDTaskDetail::Fill(const CommRecordPtr& record)
{
    const auto& r = CommonAs<CommTaskRec>(record);
    SetText("edtDescription", Text(r.Subject));
    SetText("edtPriority", r.Priority == 1   ? QStringLiteral("High")
                           : r.Priority == 2 ? QStringLiteral("Low")
                                             : QStringLiteral("Normal"));
    SetText("edtDueDate", TimeTDate(r.DueDate));
    SetText("edtCategory", Text(r.Categories));
    SetCheck("cbCompleted", r.Completed != 0);
    SetCheck("cbPrivate", r.Private != 0);
    SetText("edtNotes", Text(r.Notes));
    const auto& item = NativeAs<PmTodoItem>(record);
    std::int32_t completeDate = 0;
    if (const auto* ex2 = std::get_if<PmTodoEx2Rec>(&item.native)) {
        completeDate = ex2->completeDate;
    }
    AddRow("lvMisc", {QStringLiteral("Complete Date"), TimeTDate(completeDate)});
}

TfmPDNoteDetail::TfmPDNoteDetail(QWidget* parent)
    : TfmRecordDetail("TfmPDNoteDetail", "Palm Desktop Memo Record Details", "Palm Desktop", "Memo", 0,
                      parent)
{
    Build(kNoteLayout);
}

void TfmPDNoteDetail::Fill(const CommRecordPtr& record)
{
    const auto& r = CommonAs<CommNoteRec>(record);
    SetText("edtNotes", Text(r.Body));
    AddRow("lvMisc", {QStringLiteral("Private"), YesNo(r.Private != 0)});
    AddRow("lvMisc", {QStringLiteral("Category"), Text(r.Categories)});
}

// ---- Opening ----

namespace {

template <class Dialog> std::unique_ptr<TfmRecordDetail> Make(QWidget* parent)
{
    return std::make_unique<Dialog>(parent);
}

} // namespace

std::unique_ptr<TfmRecordDetail> MakeRecordDetail(AppKind source, DataType type, QWidget* parent)
{
    using Maker = std::unique_ptr<TfmRecordDetail> (*)(QWidget*);
    struct Entry
    {
        AppKind Source;
        Maker Makers[kDataTypeCount];
    };
    static const Entry kEntries[] = {
        {kAppOutlook,
         {&Make<TfmOLAddrDetail>, &Make<TfmOLDateDetail>, &Make<TfmOLTaskDetail>, &Make<TfmOLNoteDetail>}},
        {kAppACT,
         {&Make<TfmACTAddrDetail>, &Make<TfmACTDateDetail>, &Make<TfmACTTaskDetail>,
          &Make<TfmACTNoteDetail>}},
        {kAppGoogle, {&Make<TfmGGAddrDetail>, &Make<TfmGGDateDetail>, nullptr, nullptr}},
        {kAppPalm,
         {&Make<TfmPDAddrDetail>, &Make<TfmPDDateDetail>, &Make<TfmPDTaskDetail>, &Make<TfmPDNoteDetail>}},
    };
    if (type < kDataContacts || type > kDataNotes) {
        return nullptr;
    }
    for (const Entry& entry : kEntries) {
        if (entry.Source == source && entry.Makers[type] != nullptr) {
            return entry.Makers[type](parent);
        }
    }
    return nullptr;
}

bool OpenRecordDetail(QWidget* owner, AppKind source, DataType type, const CommRecordPtr& record,
                      CxConnector* connector)
{
    std::unique_ptr<TfmRecordDetail> dialog = MakeRecordDetail(source, type, owner);
    if (dialog == nullptr) {
        return false;
    }
    dialog->SetRecord(connector, record);
    dialog->exec();
    return true;
}
