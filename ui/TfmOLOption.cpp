#include "ui/TfmOLOption.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "misc/Settings.h"
#include "misc/WinUtil.h"

TfmOLOption::TfmOLOption(QWidget* parent) : TfmOptionPage("Please specify Microsoft Outlook options:", parent)
{
    setObjectName("TfmOLOption");
    AddLabel("Outlook.exe Path:", 0);
    m_edtOLPath = AddEdit("edtOLPath", MAX_PATH - 1, 0);
    // Kept for the layout; the path is typed or taken from the registry.
    AddBrowseButton("btnOLBrowse", 0);
    AddLabel("Outlook Version:", 1);
    m_lblOLVersion = new QLabel(this);
    m_lblOLVersion->setObjectName("lblOLVersion");
    Grid()->addWidget(m_lblOLVersion, 1, 1);
    AddSourceMapping("Enable Outlook Contacts User-Defined Field Mapping", 2);
}

void TfmOLOption::EnterPage()
{
    FWSettings& settings = g_Settings();
    if (settings.OLAppName[0] == '\0') {
        GetOutlookProgramPath(settings.OLAppName, sizeof settings.OLAppName);
    }
    m_edtOLPath->setText(FromSettings(settings.OLAppName));
    char version[64];
    const bool known = GetOutlookVersion(version, sizeof version);
    ShowVersion(m_lblOLVersion, version, known, "Unknown");
    HideSourceMapping();
}

bool TfmOLOption::LeavePage()
{
    if (m_edtOLPath->text().isEmpty()) {
        ShowError("Invalid path for outlook.exe. Outlook executable not found.", MessageIcon::Error);
        return false;
    }
    FWSettings& settings = g_Settings();
    ToSettings(m_edtOLPath->text(), settings.OLAppName, sizeof settings.OLAppName);
    return LoadAndCompareWithNotes(kAppOutlook);
}
