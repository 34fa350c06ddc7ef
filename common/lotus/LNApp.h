#pragma once
// The Lotus Notes kind as a program sees it: the four connectors, their configuration from the
// settings, the helper programs and status files, the contact fields of the custom field
// mapping and the native records as the detail dialogs show them.
#include "misc/CxAppDescriptor.h"

CxAppDescriptor LNAppDescriptor();
