#pragma once
// The " Debug Information " group of both log dialogs: the working folder and the log file,
// each with a "..." button that opens it; both buttons disabled without a working folder.
#include <QGroupBox>

class QLineEdit;
class QVBoxLayout;

class TfmLogPaths : public QGroupBox
{
    Q_OBJECT

public:
    explicit TfmLogPaths(QWidget* parent = nullptr, const QString& note = QString());

    QLineEdit* Folder() const { return m_edtFolder; }
    QLineEdit* File() const { return m_edtFile; }

private:
    void OpenFolder();
    void OpenFile();

    QLineEdit* m_edtFolder;
    QLineEdit* m_edtFile;
};
