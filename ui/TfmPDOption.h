#pragma once
// Palm Desktop access options. For now only the heading and the load and comparison on
// leaving; the user choice and the by-file options come with the Palm Desktop connectors.
#include "ui/TfmOptionPage.h"

class TfmPDOption : public TfmOptionPage
{
    Q_OBJECT

public:
    explicit TfmPDOption(QWidget* parent = nullptr);

    bool LeavePage() override;
};
