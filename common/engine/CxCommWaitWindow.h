#pragma once
// The wait window: while a flow works, a box on its own thread counts the seconds, moves a bar
// of blocks and shows either the flow's text or the first line of a helper's status file.
// The thread and its timing live here; drawing is the front end's IWaitView.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/FrontEnd.h"
#include "platform/WinTypes.h"

class CxCommWaitWindow
{
public:
    static constexpr int kTickMs = 100;
    static constexpr int kTickId = 10000;
    static constexpr int kWidth = 480;
    static constexpr int kHeight = 150;

    // Starts a thread that creates and runs a new wait window; true when the thread started.
    // Returns once the thread has made the view (the window is then current) or found that it
    // cannot (IFrontEnd::CreateWaitView gave null; nothing is current).
    static bool StartWaitWindow(ParentWindow parent);
    // Texts and paths go to the current window; without one they do nothing.
    static void SetWaitText(const char* text);
    static void WatchStatusFile(const char* path);
    // Ends the current window and waits for its thread to finish.
    static void StopWaitWindow();
    // Whether a wait window is current.
    static bool IsShown();

    // Blocks of the bar after some ticks, for a client area this wide.
    static int BlockCount(int ticks, int clientWidth);
    // The first line of a file (at most 1023 characters); empty when missing or unreadable.
    static std::string ReadFirstLine(const char* path);
    // How a tick reads the status file's first line: ReadFirstLine, unless a test puts in a
    // reader of its own (an empty one puts ReadFirstLine back). Called on the window's thread.
    using StatusReader = std::function<std::string(const char* path)>;
    static void SetStatusReader(StatusReader reader);

    CxCommWaitWindow(ParentWindow parent, std::unique_ptr<IWaitView> view);
    virtual ~CxCommWaitWindow();

    WaitViewState Snapshot() const;
    void OnTick(int id);

private:
    void Run();
    void ReadStatusFile();
    void Signal();

    ParentWindow m_parent;
    std::unique_ptr<IWaitView> m_view;
    mutable std::mutex m_lock; // text, status path and the stop flag
    std::condition_variable m_stopEvent;
    bool m_stop = false;
    char m_text[1024] = {};
    char m_statusPath[MAX_PATH] = {};
    int m_elapsed = 0;
    int m_ticks = 0;
};
