// Stand-in helper for ACT! notes: started by the connector with its parameter file.
#include "act/ACTHelper.h"

int main(int argc, char** argv)
{
    return RunACTHelper(ACTItemKind::Notes, argc, argv);
}
