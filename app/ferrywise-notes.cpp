// ferrywise-notes: the Lotus Notes program of the local installation, a read-only viewer of
// its databases. An argument names another data folder.
#include <QApplication>

#include "ui/NotesViewer.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::string folder = argc > 1 ? std::string(argv[1]) : NotesViewer::RegisteredDataFolder();
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    NotesViewer viewer(folder);
    viewer.show();
    return QApplication::exec();
}
