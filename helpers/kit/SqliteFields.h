#pragma once
// One field of a record layout as a column of an SQLite row: the stand-in helpers keep their
// items in tables whose columns are a layout's fields.
#include <sqlite3.h>

#include "exchange/CxRecordLayout.h"

// Binds the field's value in rec to parameter index of stmt; a text is read no further than
// its capacity, whatever its terminator.
void BindLayoutField(sqlite3_stmt* stmt, int index, const CxLayoutField& field, const void* rec);
// Reads column of the current row of stmt into the field in rec; a text is cut to the
// capacity less one and terminated.
void ReadLayoutField(sqlite3_stmt* stmt, int column, const CxLayoutField& field, void* rec);
