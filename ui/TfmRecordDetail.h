#pragma once
// The record detail dialogs: a read-only view of everything the source application gave for one
// record of a comparison page, read from the record's native record. One class per source and
// data type; all share the layout of TfmRecordDetail (caption, header line, tabs, "&Close") and
// its ways of filling edits, check boxes, lists and the "Recurrence" tab.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

#include "misc/AppKind.h"
#include "misc/CxStoreVisit.h"

class CxConnector;
class QCheckBox;
class QFormLayout;
class QTabWidget;
class QTreeWidget;
class QVBoxLayout;

class TfmRecordDetail : public QDialog
{
    Q_OBJECT

public:
    // name: the class name, also the dialog's objectName; caption: the window title; app and
    // kind make the header line "View detail information of the <app> <kind> record.".
    TfmRecordDetail(const char* name, const char* caption, const char* app, const char* kind,
                    QWidget* parent = nullptr);

    // Fills every control from the record's native record; with no connector, no record or no
    // native record (or one of another size than the dialog reads) nothing is filled.
    void SetRecord(CxConnector* connector, const CommRecordPtr& record);

    QTabWidget* GetTabs() const { return m_tabs; }

protected:
    // Fills from the record, whose native record is set.
    virtual void Fill(const CommRecordPtr& record) = 0;
    // The size of the native record the dialog reads; 0: any (the record borrows it).
    virtual std::size_t NativeSize() const { return 0; }

    // Layout: "Label:" fields above the tabs, tabs with forms, texts, lists and check boxes.
    QFormLayout* TopForm();
    QWidget* AddTab(QTabWidget* tabs, const char* name, const char* caption);
    QFormLayout* AddFormTab(QTabWidget* tabs, const char* name, const char* caption);
    void AddField(QFormLayout* form, const char* name, const char* label, bool multiLine = false);
    // "Description:", "Date:", "Start time:", "End time:", "Location:" of an appointment.
    void AddDateFields(QFormLayout* form);
    void AddCheck(QFormLayout* form, const char* name, const char* caption);
    // A tab holding one multi-line text (the "Notes" tab).
    void AddTextTab(const char* name, const char* caption, const char* edit);
    // A tab holding one report-style list with the columns given.
    void AddListTab(const char* name, const char* caption, const char* list, const QStringList& columns);
    // A tab of inner tabs, one per address, each with the five address fields.
    void AddAddressTab(const char* name, const QStringList& inner, const char* postal);
    // The "Recurrence" tab and its inner "Daily", "Weekly", "Monthly", "Yearly" tabs; withStart
    // adds "Start:" to the range group, yearlyBy a "By:" choice on "Yearly".
    void AddRecurrenceTab(bool withStart, bool yearlyBy);

    void SetText(const char* name, const QString& text);
    void SetCheck(const char* name, bool checked);
    void AddRow(const char* list, const QStringList& texts);
    void SetAddress(const char* inner, const QString& street, const QString& city, const QString& state,
                    const QString& postal, const QString& country);
    // Shows the one inner tab of the pattern (0 daily, 1 weekly, 2 monthly, 3 yearly; -1 hides
    // the "Recurrence" tab); byDate picks "Date" rather than "Day"; start and end are the
    // range's texts (an empty end: "No end date").
    void ShowRecurrence(int which, int interval, int dayMask, bool byDate, const QString& start,
                        const QString& end);

private:
    QTabWidget* m_tabs = nullptr;
    QFormLayout* m_top = nullptr;
    QVBoxLayout* m_topHolder = nullptr;
};

#define FW_DETAIL_CLASS(Name)                                                                                \
    class Name : public TfmRecordDetail                                                                      \
    {                                                                                                        \
    public:                                                                                                  \
        explicit Name(QWidget* parent = nullptr);                                                            \
                                                                                                             \
    protected:                                                                                               \
        void Fill(const CommRecordPtr& record) override;                                                     \
        std::size_t NativeSize() const override;                                                             \
    };

FW_DETAIL_CLASS(TfmOLAddrDetail)
FW_DETAIL_CLASS(TfmOLDateDetail)
FW_DETAIL_CLASS(TfmOLTaskDetail)
FW_DETAIL_CLASS(TfmOLNoteDetail)
FW_DETAIL_CLASS(TfmACTAddrDetail)
FW_DETAIL_CLASS(TfmACTDateDetail)
FW_DETAIL_CLASS(TfmACTTaskDetail)
FW_DETAIL_CLASS(TfmACTNoteDetail)
FW_DETAIL_CLASS(TfmGGAddrDetail)
FW_DETAIL_CLASS(TfmGGDateDetail)
FW_DETAIL_CLASS(TfmPDAddrDetail)
FW_DETAIL_CLASS(TfmPDDateDetail)
FW_DETAIL_CLASS(TfmPDTaskDetail)
FW_DETAIL_CLASS(TfmPDNoteDetail)

#undef FW_DETAIL_CLASS

// The detail dialog of a source and data type, owned by parent; null where there is none
// (Lotus Notes, Google tasks and notes).
std::unique_ptr<TfmRecordDetail> MakeRecordDetail(AppKind source, DataType type, QWidget* parent);
// Opens that dialog modally on the record and its connector; false when there is none.
bool OpenRecordDetail(QWidget* owner, AppKind source, DataType type, const CommRecordPtr& record,
                      CxConnector* connector);
