// Stand-in helper for Lotus Notes notes: started by the connector with its parameter file.
#include "notes/NotesHelper.h"

int main(int argc, char** argv)
{
    return RunNotesHelper(NotesItemKind::Notes, argc, argv);
}
