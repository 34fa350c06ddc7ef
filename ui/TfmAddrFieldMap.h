#pragma once
// The contacts custom field mapping: for each of the nine custom fields of Lotus Notes
// contacts, which field of the source application's contacts fills it. One tab per source;
// only the chosen source's tab and image are shown. OK stores the nine field codes in the
// source's custom-ID settings; Cancel changes nothing.
#include <QDialog>

#include "misc/AppKind.h"

class QComboBox;
class QLabel;
class QTabWidget;

class TfmAddrFieldMap : public QDialog
{
    Q_OBJECT

public:
    explicit TfmAddrFieldMap(QWidget* parent = nullptr);

    // Writes the texts for the source, shows its tab and image only, and fills its nine lists
    // from the source's contact field table (the session's descriptor of the kind), each with
    // the entry of the stored code selected, or "[Not Set]". A kind that is not a source of the
    // mapping (ACT!, Google, Outlook, Palm Desktop) shows no tab and fills nothing.
    void Prepare(AppKind source);

    // Stores the code of each of the source's nine lists (0 for "[Not Set]"), then closes.
    void accept() override;

    // The opener of lblRef: the user guide at its section about custom field mapping.
    static bool OpenMappingHelp(QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitHeight();

    static constexpr int kClientWidth = 648;
    static constexpr int kSourceCount = 4;
    static constexpr int kSlots = 9;

    QLabel* m_lblTitle;
    QLabel* m_lblTopLine1;
    QLabel* m_lblRef;
    QTabWidget* m_pMap;
    QLabel* m_images[kSourceCount + 1] = {}; // the four sources, then Lotus Notes (never shown)
    QWidget* m_tabs[kSourceCount] = {};
    QLabel* m_detail[kSourceCount][2] = {};
    QComboBox* m_lists[kSourceCount][kSlots] = {};
    int m_source = -1; // index into the source table; -1 for none
};
