#pragma once
// The exception dialog: apologises, names the log folder and file for an error report, and
// offers the log options or quitting the program.
#include <QDialog>

class TfmDump : public QDialog
{
    Q_OBJECT

public:
    // what is the exception's text, written to the diagnostic log.
    explicit TfmDump(QWidget* parent = nullptr, const QString& what = QString());

    static const char* SupportAddress();

private:
    void QuitProgram();
};
