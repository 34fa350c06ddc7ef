#pragma once
// Lotus Notes access options (1 of 2): program path, ID file and password.
#include "ui/TfmOptionPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TfmLNOption1 : public TfmOptionPage
{
    Q_OBJECT

public:
    explicit TfmLNOption1(QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;

private:
    void BrowseProgram();
    void BrowseIDFile();

    QLineEdit* m_edtNotesPath;
    QPushButton* m_btnNotesBrowse;
    QLabel* m_lblNotesVersion;
    QLineEdit* m_edtIDFile;
    QPushButton* m_btnIDFileBrowse;
    QCheckBox* m_cbLNPassword;
    QLineEdit* m_edtLNPassword;
    QCheckBox* m_cbLNSavePassword;
};
