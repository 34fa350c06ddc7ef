// Stand-in helper for Lotus Notes contacts: started by the connector with its parameter file.
#include "notes/NotesHelper.h"

int main(int argc, char** argv)
{
    return RunNotesHelper(NotesItemKind::Contacts, argc, argv);
}
