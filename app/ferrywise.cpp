// The wizard: a Qt window over the migration engine.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <exception>
#include <string>

#include "Applications.h"
#include "act/ACTLocalSetup.h"
#include "engine/FrontEnd.h"
#include "misc/CxDebugUtil.h"
#include "notes/LNLocalSetup.h"
#include "outlook/OlDataFileApp.h"
#include "ui/QtFrontEnd.h"
#include "ui/TfmDump.h"
#include "ui/TfmMain.h"

namespace {

// Exceptions that reach the event loop: the standard message, then the exception dialog.
class FwApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            Report(e.what());
        } catch (...) {
            Report("unknown exception");
        }
        return false;
    }

private:
    static void Report(const char* what)
    {
        FW_LOG(0, "Unhandled exception: %s", what);
        QWidget* owner = QApplication::activeWindow();
        QMessageBox::critical(owner, "Ferrywise for Lotus Notes", QString::fromLocal8Bit(what));
        TfmDump dump(owner);
        dump.exec();
    }
};

} // namespace

int main(int argc, char** argv)
{
    FwApplication app(argc, argv);
    QApplication::setApplicationName("Ferrywise for Lotus Notes");
    QApplication::setApplicationDisplayName("Ferrywise for Lotus Notes");
    // The desktop entry and icon that an installation puts in the menu (ferrywise.desktop).
    QGuiApplication::setDesktopFileName("ferrywise");
    QApplication::setWindowIcon(QIcon::fromTheme("ferrywise"));

    // Outlook is the data file that the settings name.
    OutlookDataFile outlook;
    CxAppRegistry apps;
    AddApplications(apps);
    outlook.AddTo(apps);
    QtFrontEnd frontEnd;
    // Before the session begins, so that whatever its start reports reaches the user.
    SetFrontEnd(&frontEnd);
    // A user without Lotus Notes gets a local one before the settings are read, so that the
    // default database names find the address book and the notebook.
    LNLocalSetupResult local;
    std::string error;
    if (!EnsureLocalLotusNotes(local, error)) {
        frontEnd.MessageBox(nullptr, error, "Error", MessageIcon::Error);
    }
    // And a user without ACT! the stand-in, whose databases `ferrywise-cli act import` makes.
    if (!EnsureLocalACT(error)) {
        frontEnd.MessageBox(nullptr, error, "Error", MessageIcon::Error);
    }

    int status = 0;
    {
        TfmMain wizard(apps); // begins the session; its end saves the settings
        frontEnd.SetWizard(&wizard);
        wizard.show();
        status = QApplication::exec();
        frontEnd.SetWizard(nullptr);
    }
    SetFrontEnd(nullptr);
    return status;
}
