#pragma once
// What the engine asks of a front end (the wizard, the command line, the tests): message
// boxes, the unhandled-exception dialog and the wait window's view. The engine holds no user
// interface of its own.
#include <memory>
#include <string>

// The window that owns message boxes and is brought back to the front when a wait window
// ends; opaque to the engine.
using ParentWindow = void*;

enum class MessageIcon
{
    Error,
    Information,
    Warning,
    Question,
};

// What a wait view shows: the text, the elapsed time and the tick count that drives the bar.
struct WaitViewState
{
    std::string text;
    int elapsedMs = 0;
    int ticks = 0;
};

// One wait window on the screen. Created, repainted and destroyed on the wait window's own
// thread: an implementation hands the work to its user-interface thread without blocking on it.
// The elapsed time as a wait view shows it, in whole seconds: "0 seconds", "1 second", "2 seconds".
std::string ElapsedText(int elapsedMs);

class IWaitView
{
public:
    virtual ~IWaitView() = default;
    virtual void Repaint(const WaitViewState& state) = 0;
};

class IFrontEnd
{
public:
    virtual ~IFrontEnd() = default;
    // Shows a message and blocks until the user answers it.
    virtual void MessageBox(ParentWindow parent, const std::string& text, const std::string& caption,
                            MessageIcon icon) = 0;
    // The unhandled-exception dialog, modal over the main window.
    virtual void ShowExceptionDialog(ParentWindow parent, const std::string& what) = 0;
    // A new wait view, shown; null when none can be made (the flow goes on without one).
    virtual std::unique_ptr<IWaitView> CreateWaitView() = 0;
    // Brings the parent window to the top when a wait window ends.
    virtual void BringToFront(ParentWindow parent) = 0;
};

// The front end the engine talks to; null until one is set (then messages go to the log only
// and no wait view is shown).
void SetFrontEnd(IFrontEnd* frontEnd);
IFrontEnd* GetFrontEnd();
