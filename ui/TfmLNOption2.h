#pragma once
// Lotus Notes access options (2 of 2): the three databases and the chosen source's
// user-defined field mapping switch.
#include "ui/TfmOptionPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class TfmLNOption2 : public TfmOptionPage
{
    Q_OBJECT

public:
    explicit TfmLNOption2(QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;

private:
    void UpdateMapButton();
    // The field-mapping dialog of the chosen source; after OK the mapping is prepared again.
    void OpenFieldMapping();

    QLineEdit* m_edtLNAddrPath;
    QPushButton* m_btnLNAddrBrowse;
    QLineEdit* m_edtLNDBPath;
    QLineEdit* m_edtLNNotePath;
    QPushButton* m_btnLNNoteBrowse;
    QCheckBox* m_cbFieldMap;
    QPushButton* m_btnMap;
};
