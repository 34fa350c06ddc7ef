#include "Applications.h"

#include "ACT/ACTApp.h"
#include "Dynamics/DNApp.h"
#include "SalesForce/SFApp.h"
#include "SugarCRM/SGApp.h"
#include "google/GGApp.h"
#include "lotus/LNApp.h"
#include "outlook/OLApp.h"
#include "palm/PalmApp.h"

void AddApplications(CxAppRegistry& apps)
{
    apps.Add(ACTAppDescriptor());
    apps.Add(GGAppDescriptor());
    apps.Add(OLAppDescriptor());
    apps.Add(LNAppDescriptor());
    apps.Add(PmAppDescriptor());
    apps.Add(DNAppDescriptor());
    apps.Add(SFAppDescriptor());
    apps.Add(SGAppDescriptor());
}
