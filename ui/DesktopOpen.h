#pragma once
// Opening a document with the desktop's program for it (the shell's "open"), telling the user
// when that cannot be done instead of doing nothing.
#include <QString>

class QWidget;

// Opens the file at path. When it does not exist, or no program could open it, a message box
// over parent says so, naming what (such as "the migration log") and the file; false then.
// A section, when given, is the part of the document to show: the file's address is handed
// over with it as its fragment ("file:///.../guide.html#section").
bool OpenFileOrTell(QWidget* parent, const QString& what, const QString& path,
                    const QString& section = QString());
