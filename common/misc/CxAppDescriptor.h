#pragma once
// What the engine, the wizard and the command line know of one application kind: its name, how
// its connectors are made and configured, which helper programs and status files they use, the
// contact fields its custom field mapping offers and how its native records read in the record
// detail dialogs. Each connector library fills the descriptors of its own kind; the program's
// entry point collects them in one CxAppRegistry and hands that to whoever needs it.
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "misc/AppKind.h"
#include "misc/CxConnector.h"

struct FWSettings;

// Makes the connector of one application kind and data type; null when it cannot be made.
using ConnectorCreator = std::function<std::unique_ptr<CxConnector>()>;

// The types of a contact field that the custom field mapping offers.
constexpr int kAppFieldText = 1;
constexpr int kAppFieldNumber = 4;
constexpr int kAppFieldDate = 6;

struct CxAppField
{
    int id; // the value kept in the settings' custom field slots
    std::string label;
    int type;  // kAppFieldText, kAppFieldNumber or kAppFieldDate
    int width; // capacity of the native field; 8 for dates
};

// One line of a record detail dialog: a field's label and its text (ANSI code page).
struct CxRecordLine
{
    std::string label;
    std::string text;
};
using CxRecordLines = std::vector<CxRecordLine>;

struct CxAppDescriptor
{
    AppKind kind = kAppNone;
    // The application's name in our own texts ("Lotus Notes", "Palm Desktop").
    std::string name;
    // Null entries: the kind has no connector for that data type in this build.
    ConnectorCreator creators[kDataTypeCount];
    // Connectors with an error flag and a commit step, working through files in the working
    // folder through helper programs.
    bool helperUtility = false;
    // Per data type, the helper program and the status file it writes in the working folder;
    // empty where there is none.
    std::string helperPrograms[kDataTypeCount];
    std::string statusFiles[kDataTypeCount];
    // What a connector of the data type is given before it loads, from the settings
    // (workingFolder ends in a separator); nullopt, or no function, for kinds that take
    // nothing.
    std::function<std::optional<ConnectorConfig>(DataType type, const FWSettings& settings,
                                                 const std::string& workingFolder)>
        makeConfig;
    // The settings switch of the kind's custom field mapping and the index of its first slot
    // in FWSettings::CustomID; null: the kind has no mapping.
    bool FWSettings::*customMapping = nullptr;
    int customFirstID = 0;
    // The contact fields the custom field mapping offers, in the order shown.
    // True when the connectors made so far no longer reach what the settings name now (the
    // user chose another data file after they were made, or they could not reach it then): the
    // engine remakes the kind's connectors before it loads. Unset: connectors are kept.
    std::function<bool()> connectorsStale;
    std::function<std::vector<CxAppField>()> contactFields;
    // The text of one of those fields in the native record behind a contact; false when the
    // field gives the record no text.
    std::function<bool(const CommAddrRec& record, int fieldId, std::string& text)> contactFieldText;
    // The native record behind a common record, as the record detail dialogs show it.
    std::function<CxRecordLines(const CommAddrRec&)> describeContact;
    std::function<CxRecordLines(const CommDateRec&)> describeEvent;
    std::function<CxRecordLines(const CommTaskRec&)> describeTask;
    std::function<CxRecordLines(const CommNoteRec&)> describeNote;
    // The wizard's option and data pages of the kind as a source; empty: it is no source there.
    std::string optionPage;
    std::string dataPage;
};

// What every helper-utility connector is given: the working folder for its exchange files and
// the diagnostic log's folder (workingFolder, ending in a separator), and the log's settings.
ConnectorConfig HelperConnectorConfig(const FWSettings& settings, const std::string& workingFolder);

// The descriptor of a helper-utility kind whose helpers write "<prefix>AddrStatus.dat",
// "<prefix>DateStatus.dat", "<prefix>TaskStatus.dat" and "<prefix>NoteStatus.dat" for the data
// types given; its connectors get HelperConnectorConfig, then what configure adds for the data
// type.
using CxConfigureConnector = void (*)(DataType type, const FWSettings& settings, ConnectorConfig& config);
CxAppDescriptor HelperAppDescriptor(AppKind kind, std::string name, const std::string& statusPrefix,
                                    std::initializer_list<DataType> types, CxConfigureConnector configure);

// The native record's lines of any common record; empty when the kind describes none.
CxRecordLines DescribeNative(const CxAppDescriptor& app, const CommAddrRec& record);
CxRecordLines DescribeNative(const CxAppDescriptor& app, const CommDateRec& record);
CxRecordLines DescribeNative(const CxAppDescriptor& app, const CommTaskRec& record);
CxRecordLines DescribeNative(const CxAppDescriptor& app, const CommNoteRec& record);

// The application kinds of one program, in the order they were added. Owned by the entry point
// (or a test); the engine and the front ends only read it.
class CxAppRegistry
{
public:
    // Adds the descriptor, replacing one of the same kind in its place.
    void Add(CxAppDescriptor descriptor);
    // The descriptor of a kind; null when the kind was not added.
    const CxAppDescriptor* Find(AppKind kind) const;
    CxAppDescriptor* FindMutable(AppKind kind);
    const std::vector<CxAppDescriptor>& All() const { return m_apps; }

    // The connector of a kind and data type, made by its creator; null when there is none or
    // it could not be made (which is logged).
    std::unique_ptr<CxConnector> Create(AppKind kind, DataType type) const;

private:
    std::vector<CxAppDescriptor> m_apps;
};
