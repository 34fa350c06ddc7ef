// A stand-in CRM helper, started by its connector with its parameter file. The build makes
// the twelve programs from this one source, each with its service and kind of data
// (FW_CRM_FAMILY, FW_CRM_KIND).
#include "crm/CrmHelper.h"

int main(int argc, char** argv)
{
    return crm::RunHelper(crm::Family::FW_CRM_FAMILY, crm::Kind::FW_CRM_KIND, argc, argv);
}
