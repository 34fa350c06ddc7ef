#include "engine/CxCommWaitWindow.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <future>
#include <unistd.h>

namespace {

std::mutex g_frontEndLock;
IFrontEnd* g_frontEnd = nullptr;

// The current window. Set by its thread once the view exists, before StartWaitWindow returns, so
// that a stop that comes at once still finds it; cleared by the ending thread only while it is
// still its own window.
std::mutex g_currentLock;
std::shared_ptr<CxCommWaitWindow> g_current;

// The thread of the latest window; started and joined by the thread that runs the flows.
std::thread g_thread;

std::mutex g_readerLock;
CxCommWaitWindow::StatusReader g_statusReader; // empty: ReadFirstLine

void CopyCut(char* dest, std::size_t size, const char* src)
{
    std::size_t n = src != nullptr ? strnlen(src, size - 1) : 0;
    if (n > 0) {
        std::memcpy(dest, src, n);
    }
    dest[n] = '\0';
}

std::shared_ptr<CxCommWaitWindow> Current()
{
    std::lock_guard<std::mutex> guard(g_currentLock);
    return g_current;
}

} // namespace

std::string ElapsedText(int elapsedMs)
{
    const int seconds = elapsedMs / 1000;
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

void SetFrontEnd(IFrontEnd* frontEnd)
{
    std::lock_guard<std::mutex> guard(g_frontEndLock);
    g_frontEnd = frontEnd;
}

IFrontEnd* GetFrontEnd()
{
    std::lock_guard<std::mutex> guard(g_frontEndLock);
    return g_frontEnd;
}

CxCommWaitWindow::CxCommWaitWindow(ParentWindow parent, std::unique_ptr<IWaitView> view)
    : m_parent(parent), m_view(std::move(view))
{
}

CxCommWaitWindow::~CxCommWaitWindow() = default;

bool CxCommWaitWindow::StartWaitWindow(ParentWindow parent)
{
    StopWaitWindow();
    auto window = std::make_shared<CxCommWaitWindow>(parent, nullptr);
    // The thread makes the view; until it says whether it could, the window is not current, so
    // a status file handed over for a window that never appears is neither deleted nor watched.
    auto made = std::make_shared<std::promise<bool>>();
    std::future<bool> madeResult = made->get_future();
    try {
        g_thread = std::thread([window, parent, made] {
            IFrontEnd* frontEnd = GetFrontEnd();
            try {
                window->m_view = frontEnd != nullptr ? frontEnd->CreateWaitView() : nullptr;
            } catch (...) {
                window->m_view.reset();
            }
            const bool shown = window->m_view != nullptr;
            if (shown) {
                std::lock_guard<std::mutex> guard(g_currentLock);
                g_current = window;
            }
            made->set_value(shown);
            if (!shown) {
                return;
            }
            window->Run();
            {
                std::lock_guard<std::mutex> guard(g_currentLock);
                if (g_current == window) {
                    g_current.reset();
                }
            }
            window->m_view.reset(); // the view closes on the thread that made it
            frontEnd->BringToFront(parent);
        });
    } catch (const std::system_error&) {
        return false;
    }
    madeResult.wait();
    return true;
}

void CxCommWaitWindow::SetWaitText(const char* text)
{
    if (auto window = Current()) {
        std::lock_guard<std::mutex> guard(window->m_lock);
        CopyCut(window->m_text, sizeof window->m_text, text);
    }
}

void CxCommWaitWindow::WatchStatusFile(const char* path)
{
    if (auto window = Current()) {
        if (path != nullptr && *path != '\0') {
            unlink(path);
        }
        std::lock_guard<std::mutex> guard(window->m_lock);
        CopyCut(window->m_statusPath, sizeof window->m_statusPath, path);
    }
}

void CxCommWaitWindow::StopWaitWindow()
{
    if (auto window = Current()) {
        window->Signal();
    }
    if (g_thread.joinable()) {
        g_thread.join();
    }
}

bool CxCommWaitWindow::IsShown()
{
    return Current() != nullptr;
}

void CxCommWaitWindow::Signal()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stop = true;
    }
    m_stopEvent.notify_all();
}

int CxCommWaitWindow::BlockCount(int ticks, int clientWidth)
{
    int perBar = (clientWidth - 40) / 25 + 1;
    if (perBar <= 0 || ticks < 0) {
        return 0;
    }
    return ticks % perBar;
}

std::string CxCommWaitWindow::ReadFirstLine(const char* path)
{
    std::string line;
    if (path == nullptr || *path == '\0') {
        return line;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return line;
    }
    char buffer[1024];
    std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, file);
    std::fclose(file);
    for (std::size_t i = 0; i < n && buffer[i] != '\r' && buffer[i] != '\n' && buffer[i] != '\0'; ++i) {
        line += buffer[i];
    }
    return line;
}

void CxCommWaitWindow::SetStatusReader(StatusReader reader)
{
    std::lock_guard<std::mutex> guard(g_readerLock);
    g_statusReader = std::move(reader);
}

void CxCommWaitWindow::ReadStatusFile()
{
    std::string path;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        path = m_statusPath;
    }
    if (path.empty()) {
        return;
    }
    StatusReader reader;
    {
        std::lock_guard<std::mutex> guard(g_readerLock);
        reader = g_statusReader;
    }
    const std::string line = reader ? reader(path.c_str()) : ReadFirstLine(path.c_str());
    if (!line.empty()) {
        std::lock_guard<std::mutex> guard(m_lock);
        CopyCut(m_text, sizeof m_text, line.c_str());
    }
}

WaitViewState CxCommWaitWindow::Snapshot() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    WaitViewState state;
    state.text = m_text;
    state.elapsedMs = m_elapsed;
    state.ticks = m_ticks;
    return state;
}

void CxCommWaitWindow::OnTick(int id)
{
    if (id != kTickId) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_ticks;
    }
    ReadStatusFile();
    if (m_view) {
        m_view->Repaint(Snapshot());
    }
}

void CxCommWaitWindow::Run()
{
    if (m_view) {
        m_view->Repaint(Snapshot());
    }
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        if (m_stopEvent.wait_for(lock, std::chrono::milliseconds(kTickMs), [this] { return m_stop; })) {
            break;
        }
        lock.unlock();
        // Elapsed time counts ticks, not the clock: a slow status file still adds one tick.
        ReadStatusFile();
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_elapsed += kTickMs;
        }
        OnTick(kTickId);
        lock.lock();
    }
}
