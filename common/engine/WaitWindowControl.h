#pragma once
// What the load and submit flows do with the wait window. By default the calls go straight to
// CxCommWaitWindow; a front end or a test may put its own control in front of it (for example
// to record every text a flow shows, which a view repainting ten times a second would miss).
#include "engine/FrontEnd.h"

class IWaitWindowControl
{
public:
    virtual ~IWaitWindowControl() = default;
    virtual bool Start(ParentWindow parent) = 0;
    virtual void SetText(const char* text) = 0;
    virtual void WatchStatusFile(const char* path) = 0;
    virtual void Stop() = 0;
};

// The control that goes to CxCommWaitWindow.
IWaitWindowControl& DefaultWaitWindowControl();
// Null restores the default. Set it while no flow runs.
void SetWaitWindowControl(IWaitWindowControl* control);
IWaitWindowControl& GetWaitWindowControl();
