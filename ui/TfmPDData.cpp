#include "ui/TfmPDData.h"

#include "engine/MigrationDriver.h"

TfmPDData::TfmPDData(QWidget* parent) : TfmDataPage(kAppPalm, parent) {}

// The load flow picks the file or the user's data from the settings, as on the first load.
bool TfmPDData::ReloadType(DataType type, ParentWindow parent)
{
    return LoadOne(parent, kAppPalm, type);
}
