#pragma once
// Every application kind this build knows, as the programs hand them to the engine, the wizard
// and the command line.
#include "misc/CxAppDescriptor.h"

// Adds the descriptors of all kinds, in the order of their numbers.
void AddApplications(CxAppRegistry& apps);
