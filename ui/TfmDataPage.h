#pragma once
// Step 4 of the wizard: the records loaded from the source, one tab per data type taking
// part, each row coloured by its comparison with Lotus Notes and ticked when it is to be
// migrated. TfmOLData, TfmGGData, TfmACTData and TfmPDData differ only in their source, the
// tabs they may show and how Refresh reloads.
#include "engine/FrontEnd.h"
#include "misc/AppKind.h"
#include "misc/CxStoreVisit.h"
#include "ui/TfmPage.h"

class CompareModel;
struct FWSettings;
class CxConnector;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeView;

class TfmDataPage : public TfmPage
{
    Q_OBJECT

public:
    TfmDataPage(AppKind source, QWidget* parent = nullptr);

    // Shows the tabs of the switched-on data types and fills them.
    void EnterPage() override;
    // Hands the ticked rows to the driver's selection lists and submits them to Lotus Notes
    // off the GUI thread; false keeps the wizard on the page with the ticks as they were.
    bool LeavePage() override;

    AppKind GetSource() const { return m_source; }
    CompareModel* GetModel(DataType type) const { return m_models[type]; }
    QTreeView* GetList(DataType type) const { return m_lists[type]; }
    // Whether the tab of the data type is shown: its settings switch is on and the source
    // offers it.
    bool IsTypeVisible(DataType type) const;

    // The button actions, on every shown list.
    void SelectAll();
    void ClearSelection();
    void SelectDiff();
    void Refresh();

    // Fills one tab from the source connector's store (an unfilled, empty list when the
    // connector does not exist).
    void FillTab(DataType type);

    // Widens a list's columns to their texts (never below the design's widths); the last
    // column takes the rest of the list's width.
    void FitColumns(DataType type);

    // The ticked records of the shown lists, in list order, into the driver's selection lists.
    void CollectSelection();

signals:
    // A row was double-clicked (or Enter pressed on it): the detail dialog of the source for that data type
    // opens on the record and its connector.
    void DetailRequested(DataType type, CommRecordPtr record, CxConnector* connector);

protected:
    // A page the wizard moves away from lets go of its rows: the stores they point into are
    // cleared by the next load and destroyed at the end of a session.
    void hideEvent(QHideEvent* event) override;
    // A list that changes width gives its last column the room it has.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Whether the source offers the data type at all (Google: contacts and calendar only).
    virtual bool OffersType(DataType /*type*/) const { return true; }
    // Reloads one shown data type; runs on the engine thread, parent being the wizard window
    // for the flow's message boxes. The default runs Clear and Load on the existing connector.
    virtual bool ReloadType(DataType type, ParentWindow parent);
    // Opens the detail dialog of a record; the default emits DetailRequested.
    virtual void OpenDetail(DataType type, const CommRecordPtr& record, CxConnector* connector);

private:
    void OnDoubleClicked(DataType type);
    void UpdateCount(DataType type);
    void UpdateLegend(const FWSettings& settings);
    void FillLastColumn(DataType type);

    AppKind m_source;
    QTabWidget* m_tabs = nullptr;
    QWidget* m_sheets[kDataTypeCount] = {};
    QTreeView* m_lists[kDataTypeCount] = {};
    CompareModel* m_models[kDataTypeCount] = {};
    QLabel* m_counts[kDataTypeCount] = {};
    QLabel* m_lossy[kDataTypeCount] = {};
    // The legend of the row colours: New, Diff, Same.
    QLabel* m_legend[3] = {};
    bool m_filled[kDataTypeCount] = {};
    // The width the last column's texts want, as FitColumns found it.
    int m_lastWanted[kDataTypeCount] = {};
};
