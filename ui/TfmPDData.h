#pragma once
// The comparison page of Palm Desktop.
#include "ui/TfmDataPage.h"

class TfmPDData : public TfmDataPage
{
    Q_OBJECT

public:
    explicit TfmPDData(QWidget* parent = nullptr);

protected:
    // Reloads as the Palm Desktop load flow does: from the chosen file or the user's data.
    bool ReloadType(DataType type, ParentWindow parent) override;
};
