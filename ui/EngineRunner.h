#pragma once
// Engine work (loading, comparing, submitting) runs on an engine thread while the wizard is
// disabled; the GUI thread keeps painting and answers the engine's message boxes meanwhile.
#include <functional>

class QWidget;

// Runs work on the engine thread and returns its result; until then the wizard is disabled
// and a local event loop keeps the window alive. Exceptions from work are caught, shown in the
// exception dialog, and give false.
bool RunOffGuiThread(QWidget* wizard, const std::function<bool()>& work);
