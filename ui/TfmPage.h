#pragma once
// A page of the wizard: the frame calls EnterPage when it moves forward onto the page and
// LeavePage when the user presses Next on it; LeavePage returning false keeps the wizard there.
#include <QWidget>

class TfmPage : public QWidget
{
    Q_OBJECT

public:
    explicit TfmPage(QWidget* parent = nullptr) : QWidget(parent) {}

    virtual void EnterPage() {}
    virtual bool LeavePage() { return true; }
};
