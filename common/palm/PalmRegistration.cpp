#include "palm/PalmRegistration.h"

#include <chrono>
#include <memory>
#include <thread>

#include "engine/MigrationDriver.h"
#include "engine/WaitWindowControl.h"
#include "misc/CxConnector.h"
#include "palm/PalmEnv.h"
#include "palm/PalmInfo.h"
#include "platform/CodePage.h"

namespace {

template <class Front> class PmConnector : public CxConnector
{
public:
    bool Load() override
    {
        BeforeLoad();
        if (m_config.useFile) {
            // Settings hold texts in the ANSI code page; the file system wants its own bytes.
            return m_front.LoadByFile(platform::AnsiToUtf8(m_config.fileName));
        }
        const bool loaded = m_front.LoadByUser(PmResolveUser(m_config.userId));
        if (loaded && !m_front.GetLoadNotice().empty()) {
            // The user's folder has no database of this kind: the progress text says so, long
            // enough to be read, before the flow goes on.
            GetWaitWindowControl().SetText(platform::Utf8ToAnsi(m_front.GetLoadNotice()).c_str());
            const std::chrono::milliseconds pause = GetFlowPause();
            if (pause.count() > 0) {
                std::this_thread::sleep_for(pause);
            }
        }
        return loaded;
    }
    void Clear() override { m_front.Clear(); }
    // The file and the reason, in the code page of every text the flows show.
    std::string GetErrorText() const override { return platform::Utf8ToAnsi(m_front.GetLoadError()); }
    void Configure(const ConnectorConfig& config) override { m_config = config; }

protected:
    virtual void BeforeLoad() {}

    Front m_front;
    ConnectorConfig m_config;
};

class PmAddrConnector : public PmConnector<PmAddrInfo>
{
public:
    CommAddrMgr* GetAddrStore() override { return m_front.GetStore(); }

protected:
    void BeforeLoad() override { m_front.UseCustomFieldMap(); }
};

class PmDateConnector : public PmConnector<PmDateInfo>
{
public:
    CommDateMgr* GetDateStore() override { return m_front.GetStore(); }
};

class PmTodoConnector : public PmConnector<PmTodoInfo>
{
public:
    CommTaskMgr* GetTaskStore() override { return m_front.GetStore(); }
};

class PmMemoConnector : public PmConnector<PmMemoInfo>
{
public:
    CommNoteMgr* GetNoteStore() override { return m_front.GetStore(); }
};

} // namespace

void RegisterPalmConnectors()
{
    RegisterConnector(kAppPalm, kDataContacts, [] { return std::make_unique<PmAddrConnector>(); });
    RegisterConnector(kAppPalm, kDataCalendar, [] { return std::make_unique<PmDateConnector>(); });
    RegisterConnector(kAppPalm, kDataTasks, [] { return std::make_unique<PmTodoConnector>(); });
    RegisterConnector(kAppPalm, kDataNotes, [] { return std::make_unique<PmMemoConnector>(); });
}
