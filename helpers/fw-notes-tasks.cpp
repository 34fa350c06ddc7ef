// Stand-in helper for Lotus Notes tasks: started by the connector with its parameter file.
#include "notes/NotesHelper.h"

int main(int argc, char** argv)
{
    return RunNotesHelper(NotesItemKind::Tasks, argc, argv);
}
