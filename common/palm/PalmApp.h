#pragma once
// The Palm Desktop kind as a program sees it: the fronts as source connectors, their
// configuration from the settings, the contact fields of the custom field mapping.
#include <optional>

#include "misc/CxAppDescriptor.h"

struct FWSettings;

CxAppDescriptor PmAppDescriptor();
// What a Palm Desktop connector of the data type is given before it loads.
std::optional<ConnectorConfig> PmMakeConfig(DataType type, const FWSettings& settings);
