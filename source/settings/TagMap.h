#pragma once

#include <QMap>
#include <QString>

// Tags of an audio file ("Title", "Artist", ... or any other tag name the
// file carries); inserting a present key replaces its value.
using TagMap = QMap<QString, QString>;
