#pragma once
// The application kinds of a test program: every kind of the build, as the programs have them,
// but with no connectors until a test registers its own or puts the real ones back. Sessions
// of the tests begin with these (BeginSession(fwtest::TestApps())).
#include <memory>
#include <utility>

#include "Applications.h"
#include "misc/CxAppDescriptor.h"

namespace fwtest {

// Every kind of the build as AddApplications gives it.
inline CxAppRegistry BuildApplications()
{
    CxAppRegistry apps;
    AddApplications(apps);
    return apps;
}

inline CxAppRegistry& TestApps()
{
    static CxAppRegistry apps = [] {
        CxAppRegistry made = BuildApplications();
        for (const CxAppDescriptor& app : made.All()) {
            for (ConnectorCreator& creator : made.FindMutable(app.kind)->creators) {
                creator = nullptr;
            }
        }
        return made;
    }();
    return apps;
}

// Puts the creator in place of the kind's connector of the data type; an empty creator takes it
// away. Kinds the build does not know are ignored.
inline void RegisterConnector(AppKind kind, DataType type, ConnectorCreator creator)
{
    if (CxAppDescriptor* app = TestApps().FindMutable(kind);
        app != nullptr && type >= 0 && type < kDataTypeCount) {
        app->creators[type] = std::move(creator);
    }
}

// No kind has a connector any more.
inline void UnregisterAllConnectors()
{
    for (const CxAppDescriptor& app : TestApps().All()) {
        for (ConnectorCreator& creator : TestApps().FindMutable(app.kind)->creators) {
            creator = nullptr;
        }
    }
}

// The kind's own connectors, as its library makes them.
inline void UseRealConnectors(AppKind kind)
{
    const CxAppRegistry real = BuildApplications();
    if (const CxAppDescriptor* app = real.Find(kind)) {
        for (DataType type : kAllDataTypes) {
            RegisterConnector(kind, type, app->creators[type]);
        }
    }
}

inline std::unique_ptr<CxConnector> CreateConnector(AppKind kind, DataType type)
{
    return TestApps().Create(kind, type);
}

} // namespace fwtest
