#include "ui/TfmPage.h"
