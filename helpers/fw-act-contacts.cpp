// Stand-in helper for ACT! contacts: started by the connector with its parameter file.
#include "act/ACTHelper.h"

int main(int argc, char** argv)
{
    return RunACTHelper(ACTItemKind::Contacts, argc, argv);
}
