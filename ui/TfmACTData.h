#pragma once
// The comparison page of ACT!.
#include "ui/TfmDataPage.h"

class TfmACTData : public TfmDataPage
{
    Q_OBJECT

public:
    explicit TfmACTData(QWidget* parent = nullptr);
};
