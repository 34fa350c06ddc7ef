#pragma once
// The log options dialog: the diagnostic log's switch and level, its folder and file.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class TfmDebug : public QDialog
{
    Q_OBJECT

public:
    explicit TfmDebug(QWidget* parent = nullptr);

    // Stores the switch and level in the settings and applies them to the running log.
    void accept() override;

private:
    QCheckBox* m_cbEnable;
    QComboBox* m_cbxLevel;
    QLineEdit* m_edtFolder;
    QLineEdit* m_edtFile;
};
