#include "engine/WaitWindowControl.h"

#include <atomic>

#include "engine/CxCommWaitWindow.h"

namespace {

class CommWaitWindowControl final : public IWaitWindowControl
{
public:
    bool Start(ParentWindow parent) override { return CxCommWaitWindow::StartWaitWindow(parent); }
    void SetText(const char* text) override { CxCommWaitWindow::SetWaitText(text); }
    void WatchStatusFile(const char* path) override { CxCommWaitWindow::WatchStatusFile(path); }
    void Stop() override { CxCommWaitWindow::StopWaitWindow(); }
};

std::atomic<IWaitWindowControl*> g_control{nullptr};

} // namespace

IWaitWindowControl& DefaultWaitWindowControl()
{
    static CommWaitWindowControl control;
    return control;
}

void SetWaitWindowControl(IWaitWindowControl* control)
{
    g_control.store(control);
}

IWaitWindowControl& GetWaitWindowControl()
{
    IWaitWindowControl* control = g_control.load();
    return control != nullptr ? *control : DefaultWaitWindowControl();
}
