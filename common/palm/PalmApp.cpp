#include "palm/PalmApp.h"

#include <memory>

#include "misc/CxConnector.h"
#include "misc/Settings.h"
#include "palm/PalmConvert.h"
#include "palm/PalmEnv.h"
#include "palm/PalmInfo.h"
#include "palm/PalmItems.h"
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
        return m_front.LoadByUser(PmResolveUser(m_config.userId));
    }
    // The user's folder has no database of this kind: the progress text says so before the
    // flow goes on.
    std::string GetLoadNotice() const override { return platform::Utf8ToAnsi(m_front.GetLoadNotice()); }
    int GetLossyRecordCount() const override { return m_front.GetLossyRecordCount(); }
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

std::optional<ConnectorConfig> PmMakeConfig(DataType type, const FWSettings& settings)
{
    static constexpr bool FWSettings::*kUseFile[kDataTypeCount] = {
        &FWSettings::PDUseAddrFile, &FWSettings::PDUseDateFile, &FWSettings::PDUseTaskFile,
        &FWSettings::PDUseNoteFile};
    const char* const fileNames[kDataTypeCount] = {settings.PDAddrFileName, settings.PDDateFileName,
                                                   settings.PDTaskFileName, settings.PDNoteFileName};
    ConnectorConfig config;
    if (type < kDataContacts || type > kDataNotes) {
        return config;
    }
    config.useFile = settings.*kUseFile[type];
    if (config.useFile) {
        config.fileName = fileNames[type];
    }
    config.userId = settings.PDUserID;
    return config;
}

CxAppDescriptor PmAppDescriptor()
{
    CxAppDescriptor app;
    app.kind = kAppPalm;
    app.name = "Palm Desktop";
    app.creators[kDataContacts] = [] { return std::make_unique<PmAddrConnector>(); };
    app.creators[kDataCalendar] = [] { return std::make_unique<PmDateConnector>(); };
    app.creators[kDataTasks] = [] { return std::make_unique<PmTodoConnector>(); };
    app.creators[kDataNotes] = [] { return std::make_unique<PmMemoConnector>(); };
    app.makeConfig = [](DataType type, const FWSettings& settings, const std::string&) {
        return PmMakeConfig(type, settings);
    };
    app.customMapping = &FWSettings::PDCustom;
    app.customFirstID = kCustomIDPalm;
    app.contactFields = [] {
        std::vector<CxAppField> fields;
        const int count = PmCatalogueCount();
        for (int index = 0; index < count; ++index) {
            PmFieldDef def{};
            if (PmCatalogueEntry(PmCatalogueKey(index), &def)) {
                fields.push_back(CxAppField{
                    def.key, def.name, def.kind == kPmFieldText ? kAppFieldText : kAppFieldDate, def.width});
            }
        }
        return fields;
    };
    app.contactFieldText = [](const CommAddrRec& record, int fieldId, std::string& text) {
        if (record.NativeRecord == nullptr) {
            return false;
        }
        text = PmAddrItemValue(static_cast<const PmAddrItem*>(record.NativeRecord), fieldId);
        return text != "N/A";
    };
    app.describeContact = [](const CommAddrRec& record) {
        CxRecordLines lines;
        const auto* item = static_cast<const PmAddrItem*>(record.NativeRecord);
        const int count = PmCatalogueCount();
        for (int index = 0; item != nullptr && index < count; ++index) {
            lines.push_back(
                CxRecordLine{PmCatalogueName(index), PmAddrItemValue(item, PmCatalogueKey(index))});
        }
        return lines;
    };
    app.optionPage = "TfmPDOption";
    app.dataPage = "TfmPDData";
    return app;
}
