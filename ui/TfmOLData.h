#pragma once
// The comparison page of Outlook.
#include "ui/TfmDataPage.h"

class TfmOLData : public TfmDataPage
{
    Q_OBJECT

public:
    explicit TfmOLData(QWidget* parent = nullptr);
};
