#pragma once
// Hands the four Lotus Notes connectors to the engine's connector factory. Front ends call
// this once at start, before the session begins.
void RegisterLotusConnectors();
