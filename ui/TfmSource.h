#pragma once
// The first page: which application to migrate from and which types of data.
#include "ui/TfmPage.h"

class QRadioButton;
class QCheckBox;

class TfmSource : public TfmPage
{
    Q_OBJECT

public:
    explicit TfmSource(QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;

    // While Google is ticked, Tasks and Notes are disabled and unticked.
    void ApplyGoogleRule();

private:
    QRadioButton* m_rbtnGG;
    QRadioButton* m_rbtnOL;
    QRadioButton* m_rbtnACT;
    QRadioButton* m_rbtnPD;
    QCheckBox* m_cbAddr;
    QCheckBox* m_cbDate;
    QCheckBox* m_cbTask;
    QCheckBox* m_cbNote;
};
