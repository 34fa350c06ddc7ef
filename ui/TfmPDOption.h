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
    // Takes the folder in the edit as the Palm Desktop folder and lists its users at once.
    // False when it cannot be kept (the path is too long).
    bool ApplyFolder(const QString& folder);
    // Whether each data type the run works on is opened by a file name, so no user is needed.
    bool EveryTypeByFile() const;
    void ShowDesktopVersion();
    void EnableFile(DataType type);
    void BrowseFile(DataType type);

    QLineEdit* m_edtPDFolder;
    QLabel* m_lblPDUsers;
    QComboBox* m_cbPDUser;
    QLabel* m_lblPDVersion;
    QTabWidget* m_pcMain;
    QCheckBox* m_cbAddrSwap = nullptr;
    FileControls m_files[kDataTypeCount];
    // The folder whose users the list shows.
    QString m_listedFolder;
};
