#pragma once

#include <QMap>
#include <QString>

// Tags of one audio file: "Title", "Artist", "Album", "Date", "Comment",
// "Tracknumber", "Genre", plus any other Vorbis comment name or ID3v2 frame id.
// Implicitly shared, so a SongInfo copy costs a reference count.
using TagMap = QMap<QString, QString>;
