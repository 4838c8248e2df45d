#pragma once

#include "settings/SettingsDirectory.h"

#include <QString>
#include <QStringList>

// Where the application ini lives, from the command line (program name at
// index 0): the last "-i NAME" wins, a "-i" without a following argument is
// ignored. A name without '/' or '\' goes into the settings directory of
// home, which is then created and, on a first start, filled with the older
// ini from appData; a name with a separator is taken unchanged and nothing
// is created or copied for it.
QString iniPath(const QStringList& arguments, const QString& home, const QString& appData);

// Why path cannot serve as the application ini, or an empty text when it
// can: it names a folder (an empty name, ".", "..", a path ending in a
// separator, an existing folder) or an existing file that is no regular
// file (a FIFO would block the start, a device is nobody's ini). A file
// that does not exist yet is fine; it is created at the first write. Only
// looks at the path and its status, never opens it.
QString iniPathRefusal(const QString& path);
