#pragma once
// A front end and a wait-window control that record what the engine asks of them, in one
// journal shared with the fake connectors, so that tests can check the order of everything.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/CxCommWaitWindow.h"
#include "engine/FrontEnd.h"
#include "engine/WaitWindowControl.h"
#include "platform/KnownFolders.h"

namespace fwtest {

// Events from the engine thread and the wait window's thread, in the order they happened.
class Journal
{
public:
    void Add(std::string event)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_events.push_back(std::move(event));
    }
    std::vector<std::string> Events() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_events;
    }
    // The events that start with prefix, with the prefix taken off.
    std::vector<std::string> With(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& event : Events()) {
            if (event.rfind(prefix, 0) == 0) {
                found.push_back(event.substr(prefix.size()));
            }
        }
        return found;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_events.clear();
    }

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_events;
};

inline Journal& TheJournal()
{
    static Journal journal;
    return journal;
}

// Keeps every state it was repainted with, and when.
class RecordingWaitView : public IWaitView
{
public:
    struct Shared
    {
        std::mutex lock;
        std::condition_variable repainted;
        std::vector<WaitViewState> states;
        std::vector<std::chrono::steady_clock::time_point> times; // one per state
    };

    explicit RecordingWaitView(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}
    void Repaint(const WaitViewState& state) override
    {
        {
            std::lock_guard<std::mutex> guard(m_shared->lock);
            m_shared->states.push_back(state);
            m_shared->times.push_back(std::chrono::steady_clock::now());
        }
        m_shared->repainted.notify_all();
    }

private:
    std::shared_ptr<Shared> m_shared;
};

class RecordingFrontEnd : public IFrontEnd
{
public:
    struct Box
    {
        ParentWindow parent;
        std::string text;
        std::string caption;
        MessageIcon icon;
        bool waitWindowShown; // a wait window was current when the box came up
    };
    struct Dialog
    {
        ParentWindow parent;
        std::string what;
        bool waitWindowShown;
    };

    void MessageBox(ParentWindow parent, const std::string& text, const std::string& caption,
                    MessageIcon icon) override
    {
        boxes.push_back({parent, text, caption, icon, CxCommWaitWindow::IsShown()});
        TheJournal().Add("box: " + text);
    }
    void ShowExceptionDialog(ParentWindow parent, const std::string& what) override
    {
        dialogs.push_back({parent, what, CxCommWaitWindow::IsShown()});
        TheJournal().Add("exception: " + what);
    }
    std::unique_ptr<IWaitView> CreateWaitView() override
    {
        if (!makeViews) {
            return nullptr;
        }
        auto shared = std::make_shared<RecordingWaitView::Shared>();
        {
            std::lock_guard<std::mutex> guard(m_viewsLock);
            m_views.push_back(shared);
        }
        return std::make_unique<RecordingWaitView>(shared);
    }
    void BringToFront(ParentWindow parent) override
    {
        std::lock_guard<std::mutex> guard(m_viewsLock);
        m_broughtToFront.push_back(parent);
    }

    int ViewCount() const
    {
        std::lock_guard<std::mutex> guard(m_viewsLock);
        return static_cast<int>(m_views.size());
    }
    // The states a view was repainted with (index in order of creation).
    std::vector<WaitViewState> States(int view) const
    {
        std::shared_ptr<RecordingWaitView::Shared> shared = View(view);
        std::lock_guard<std::mutex> guard(shared->lock);
        return shared->states;
    }
    // When each of those states was painted.
    std::vector<std::chrono::steady_clock::time_point> PaintTimes(int view) const
    {
        std::shared_ptr<RecordingWaitView::Shared> shared = View(view);
        std::lock_guard<std::mutex> guard(shared->lock);
        return shared->times;
    }
    // Waits for the repaints of a view until its states satisfy done. The guard only keeps a
    // broken window from hanging the test: false when it ran out first.
    bool WaitForStates(int view, const std::function<bool(const std::vector<WaitViewState>&)>& done,
                       std::chrono::seconds guard = std::chrono::seconds(60)) const
    {
        std::shared_ptr<RecordingWaitView::Shared> shared = View(view);
        std::unique_lock<std::mutex> lock(shared->lock);
        return shared->repainted.wait_for(lock, guard, [&] { return done(shared->states); });
    }
    std::vector<ParentWindow> BroughtToFront() const
    {
        std::lock_guard<std::mutex> guard(m_viewsLock);
        return m_broughtToFront;
    }

    std::atomic<bool> makeViews{true};
    std::vector<Box> boxes;
    std::vector<Dialog> dialogs;

private:
    std::shared_ptr<RecordingWaitView::Shared> View(int view) const
    {
        std::lock_guard<std::mutex> guard(m_viewsLock);
        return m_views.at(static_cast<std::size_t>(view));
    }

    mutable std::mutex m_viewsLock;
    std::vector<std::shared_ptr<RecordingWaitView::Shared>> m_views;
    std::vector<ParentWindow> m_broughtToFront;
};

// Journals every call, then hands it on to the real wait window.
class RecordingWaitControl : public IWaitWindowControl
{
public:
    bool Start(ParentWindow parent) override
    {
        // Whether the migration log was already open when the window started.
        const bool logThere = !migrationLog.empty() && platform::FileExists(migrationLog);
        TheJournal().Add(migrationLog.empty() ? "start" : logThere ? "start after log" : "start before log");
        return DefaultWaitWindowControl().Start(parent);
    }
    void SetText(const char* text) override
    {
        TheJournal().Add(std::string("text: ") + text);
        DefaultWaitWindowControl().SetText(text);
    }
    void WatchStatusFile(const char* path) override
    {
        TheJournal().Add(std::string("watch: ") + path);
        DefaultWaitWindowControl().WatchStatusFile(path);
    }
    void Stop() override
    {
        TheJournal().Add("stop");
        DefaultWaitWindowControl().Stop();
    }

    std::string migrationLog; // when set, Start notes whether this file exists yet
};

} // namespace fwtest
