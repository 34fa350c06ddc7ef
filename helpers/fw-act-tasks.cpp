// Stand-in helper for ACT! to-dos and opportunities: started by the connector with its parameter file.
#include "act/ACTHelper.h"

int main(int argc, char** argv)
{
    return RunACTHelper(ACTItemKind::Tasks, argc, argv);
}
