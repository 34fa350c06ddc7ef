#include "ui/TfmPDOption.h"

TfmPDOption::TfmPDOption(QWidget* parent)
    : TfmOptionPage("Please specify Palm Desktop  access options:", parent)
{
    setObjectName("TfmPDOption");
}

bool TfmPDOption::LeavePage()
{
    return LoadAndCompareWithNotes(kAppPalm);
}
