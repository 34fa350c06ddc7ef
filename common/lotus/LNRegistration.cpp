#include "lotus/LNRegistration.h"

#include <memory>

#include "engine/MigrationDriver.h"
#include "lotus/CxLNAddrUtil.h"
#include "lotus/CxLNDateUtil.h"
#include "lotus/CxLNNoteUtil.h"
#include "lotus/CxLNTaskUtil.h"

void RegisterLotusConnectors()
{
    RegisterConnector(kAppNotes, kDataContacts, [] { return std::make_unique<CxLNAddrUtil>(); });
    RegisterConnector(kAppNotes, kDataCalendar, [] { return std::make_unique<CxLNDateUtil>(); });
    RegisterConnector(kAppNotes, kDataTasks, [] { return std::make_unique<CxLNTaskUtil>(); });
    RegisterConnector(kAppNotes, kDataNotes, [] { return std::make_unique<CxLNNoteUtil>(); });
}
