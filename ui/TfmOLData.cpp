#include "ui/TfmOLData.h"

TfmOLData::TfmOLData(QWidget* parent) : TfmDataPage(kAppOutlook, parent) {}
