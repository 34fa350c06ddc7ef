#pragma once
// The Google kind as a program sees it: its name, its configuration from the settings, its
// status files and its wizard pages. Its connectors come with the connector library.
#include "misc/CxAppDescriptor.h"

CxAppDescriptor GGAppDescriptor();
