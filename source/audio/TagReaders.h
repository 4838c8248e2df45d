#pragma once

#include "audio/DecoderKind.h"
#include "settings/SongInfo.h"
#include "settings/TagMap.h"

#include <QByteArray>
#include <QDataStream>
#include <QString>

// Readers of the four tag sources a song can carry. None of them fails the
// open of a file: a missing, short or malformed tag leaves the map as it is.

// One Vorbis comment entry "NAME=value" (Ogg Vorbis and FLAC). The name is
// spelled with its first letter upper-cased and the rest lower-cased; the
// value runs up to the first NUL. Entries without a name are skipped.
void addVorbisComment(const char* entry, qsizetype length, TagMap& tags);

// ID3v2.3 or v2.4 tag at the stream's position. Returns the number of entries
// in the map, or -1 when there is no valid header there.
int readID3v2(QDataStream& in, TagMap& tags);

// The last 128 bytes of a file. Returns 0 when they are no ID3v1 block,
// otherwise the number of entries in the map.
int readID3v1(const QByteArray& block, TagMap& tags);

// Payload of a RIFF "LIST" chunk; only "INFO" lists carry tags. Returns the
// number of entries in the map.
int readWavInfo(const QByteArray& payload, TagMap& tags);

// Tags of an MP3 file: its ID3v2 tag, or its ID3v1 block when that gave none.
void readID3(SongInfo& song);

// Name of an ID3v1 genre byte: the standard list with the Winamp extensions,
// the number itself past its end.
QString id3v1Genre(int index);
