#pragma once
// The body of the four Lotus Notes stand-in helpers: one run with the parameter file named
// on the command line. Command "1" writes every item of the database into the record file;
// command "2" applies the record file's submitted records in one transaction, or nothing.
#include "notes/NotesStore.h"

// argv[1] is the parameter file. Exit status 0 when no error was reported, 1 when the error
// file holds one, 2 when there was no usable parameter file.
int RunNotesHelper(NotesItemKind kind, int argc, char** argv);

// The database a name refers to: a relative name lies in the Lotus Notes data folder (the
// registry's DATADIR). False with a reason for a remote "Server!!path" name, an empty name,
// or a relative name when no data folder is registered.
bool ResolveNotesDatabase(const std::string& name, std::string& path, std::string& error);
