#pragma once
// Hands the Palm Desktop fronts to the migration engine as its source connectors.

void RegisterPalmConnectors();
