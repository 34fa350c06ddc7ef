#pragma once
// Palm Desktop access options: the Palm user whose data is loaded, the installed Palm Desktop
// version, and per data type a database file chosen by name instead of the user's own data
// (for migrating without Palm Desktop installed).
#include "misc/AppKind.h"
#include "ui/TfmOptionPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TfmPDOption : public TfmOptionPage
{
    Q_OBJECT

public:
    explicit TfmPDOption(QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;

private:
    // The controls of one data type's tab, in the order contacts, calendar, tasks, notes.
    struct FileControls
    {
        QWidget* tab = nullptr;
        QCheckBox* box = nullptr;
        QLineEdit* edit = nullptr;
        QPushButton* browse = nullptr;
    };

    void FillUsers();
    void ShowDesktopVersion();
    void EnableFile(DataType type);
    void BrowseFile(DataType type);

    QComboBox* m_cbPDUser;
    QLabel* m_lblPDVersion;
    QTabWidget* m_pcMain;
    QCheckBox* m_cbAddrSwap = nullptr;
    FileControls m_files[kDataTypeCount];
    // The user list is asked for, and a missing one reported, once per run of the wizard.
    bool m_usersAsked = false;
};
