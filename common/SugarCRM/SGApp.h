#pragma once
// The SugarCRM kind as a program sees it: its name, its configuration from the settings, its
// status files, its four connectors and helper programs, and how its native records read in the
// record detail dialogs. The wizard offers no pages for it.
#include "misc/CxAppDescriptor.h"

CxAppDescriptor SGAppDescriptor();
