#include "ui/TfmGGData.h"

TfmGGData::TfmGGData(QWidget* parent) : TfmDataPage(kAppGoogle, parent) {}

bool TfmGGData::OffersType(DataType type) const
{
    return type == kDataContacts || type == kDataCalendar;
}

bool TfmGGData::ReloadType(DataType /*type*/, ParentWindow /*parent*/)
{
    return true;
}
