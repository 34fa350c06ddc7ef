#include "ui/DesktopOpen.h"

#include <QFileInfo>
#include <QUrl>
#include <QWidget>

#include "platform/Shell.h"
#include "ui/QtFrontEnd.h"

bool OpenFileOrTell(QWidget* parent, const QString& what, const QString& path, const QString& section)
{
    const QString native = QFileInfo(path).absoluteFilePath();
    QString target = native;
    if (!section.isEmpty()) {
        QUrl address = QUrl::fromLocalFile(native);
        address.setFragment(section);
        target = address.toString(QUrl::FullyEncoded);
    }
    QString problem;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        problem = QStringLiteral("The file %1 does not exist.").arg(path.isEmpty() ? what : native);
    } else if (!platform::ShellOpen(target.toLocal8Bit().constData())) {
        problem =
            QStringLiteral("No program could open %1:\n%2\n\nOpen the file with a program of your choice.")
                .arg(what, native);
    } else {
        return true;
    }
    FwMessageBox(parent, problem.toStdString(), "Error", MessageIcon::Error);
    return false;
}
