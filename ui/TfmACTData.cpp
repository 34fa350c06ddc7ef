#include "ui/TfmACTData.h"

TfmACTData::TfmACTData(QWidget* parent) : TfmDataPage(kAppACT, parent) {}
