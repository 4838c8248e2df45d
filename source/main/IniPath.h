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
