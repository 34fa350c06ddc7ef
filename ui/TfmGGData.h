#pragma once
// The comparison page of Google.
#include "ui/TfmDataPage.h"

class TfmGGData : public TfmDataPage
{
    Q_OBJECT

public:
    explicit TfmGGData(QWidget* parent = nullptr);

protected:
    // Google offers no tasks and notes.
    bool OffersType(DataType type) const override;
    // Google's records are not reloaded: the lists are filled again.
    bool ReloadType(DataType type, ParentWindow parent) override;
};
