#include "audio/TagReaders.h"

#include <QDebug>
#include <QFile>
#include <QHash>
#include <QStringDecoder>

#include <array>
#include <iterator>

namespace {

constexpr int kId3HeaderBytes = 10;
constexpr int kId3FrameHeaderBytes = 10;
constexpr int kId3MinExtendedHeader = 6;
// Text frames that long are pictures or lyrics, never anything RDS can show.
constexpr quint32 kId3MaxTextFrame = 256;
constexpr int kId3v1Bytes = 128;
constexpr int kInfoMinPayload = 13;

// ID3v2.3 frame flags, second byte: compressed, encrypted.
constexpr quint8 kV3Compressed = 0x80;
constexpr quint8 kV3Encrypted = 0x40;
// ID3v2.4 frame flags, second byte: compressed, encrypted, unsynchronised.
constexpr quint8 kV4Compressed = 0x08;
constexpr quint8 kV4Encrypted = 0x04;
constexpr quint8 kV4Unsynchronised = 0x02;

// ID3v1 genre list with the Winamp extensions (indices 0-191).
const std::array<const char*, 192> kGenres = {"Blues",
                                              "Classic Rock",
                                              "Country",
                                              "Dance",
                                              "Disco",
                                              "Funk",
                                              "Grunge",
                                              "Hip-Hop",
                                              "Jazz",
                                              "Metal",
                                              "New Age",
                                              "Oldies",
                                              "Other",
                                              "Pop",
                                              "R&B",
                                              "Rap",
                                              "Reggae",
                                              "Rock",
                                              "Techno",
                                              "Industrial",
                                              "Alternative",
                                              "Ska",
                                              "Death Metal",
                                              "Pranks",
                                              "Soundtrack",
                                              "Euro-Techno",
                                              "Ambient",
                                              "Trip-Hop",
                                              "Vocal",
                                              "Jazz+Funk",
                                              "Fusion",
                                              "Trance",
                                              "Classical",
                                              "Instrumental",
                                              "Acid",
                                              "House",
                                              "Game",
                                              "Sound Clip",
                                              "Gospel",
                                              "Noise",
                                              "Alternative Rock",
                                              "Bass",
                                              "Soul",
                                              "Punk",
                                              "Space",
                                              "Meditative",
                                              "Instrumental Pop",
                                              "Instrumental Rock",
                                              "Ethnic",
                                              "Gothic",
                                              "Darkwave",
                                              "Techno-Industrial",
                                              "Electronic",
                                              "Pop-Folk",
                                              "Eurodance",
                                              "Dream",
                                              "Southern Rock",
                                              "Comedy",
                                              "Cult",
                                              "Gangsta",
                                              "Top 40",
                                              "Christian Rap",
                                              "Pop/Funk",
                                              "Jungle",
                                              "Native US",
                                              "Cabaret",
                                              "New Wave",
                                              "Psychadelic",
                                              "Rave",
                                              "Showtunes",
                                              "Trailer",
                                              "Lo-Fi",
                                              "Tribal",
                                              "Acid Punk",
                                              "Acid Jazz",
                                              "Polka",
                                              "Retro",
                                              "Musical",
                                              "Rock & Roll",
                                              "Hard Rock",
                                              "Folk",
                                              "Folk-Rock",
                                              "National Folk",
                                              "Swing",
                                              "Fast Fusion",
                                              "Bebob",
                                              "Latin",
                                              "Revival",
                                              "Celtic",
                                              "Bluegrass",
                                              "Avantgarde",
                                              "Gothic Rock",
                                              "Progressive Rock",
                                              "Psychedelic Rock",
                                              "Symphonic Rock",
                                              "Slow Rock",
                                              "Big Band",
                                              "Chorus",
                                              "Easy Listening",
                                              "Acoustic",
                                              "Humour",
                                              "Speech",
                                              "Chanson",
                                              "Opera",
                                              "Chamber Music",
                                              "Sonata",
                                              "Symphony",
                                              "Booty Bass",
                                              "Primus",
                                              "Porn Groove",
                                              "Satire",
                                              "Slow Jam",
                                              "Club",
                                              "Tango",
                                              "Samba",
                                              "Folklore",
                                              "Ballad",
                                              "Power Ballad",
                                              "Rhytmic Soul",
                                              "Freestyle",
                                              "Duet",
                                              "Punk Rock",
                                              "Drum Solo",
                                              "Acapella",
                                              "Euro-House",
                                              "Dance Hall",
                                              "Goa",
                                              "Drum & Bass",
                                              "Club-House",
                                              "Hardcore",
                                              "Terror",
                                              "Indie",
                                              "BritPop",
                                              "Negerpunk",
                                              "Polsk Punk",
                                              "Beat",
                                              "Christian Gangsta Rap",
                                              "Heavy Metal",
                                              "Black Metal",
                                              "Crossover",
                                              "Contemporary Christian",
                                              "Christian Rock",
                                              "Merengue",
                                              "Salsa",
                                              "Trash Metal",
                                              "Anime",
                                              "Jpop",
                                              "Synthpop",
                                              "Abstract",
                                              "Art Rock",
                                              "Baroque",
                                              "Bhangra",
                                              "Big Beat",
                                              "Breakbeat",
                                              "Chillout",
                                              "Downtempo",
                                              "Dub",
                                              "EBM",
                                              "Eclectic",
                                              "Electro",
                                              "Electroclash",
                                              "Emo",
                                              "Experimental",
                                              "Garage",
                                              "Global",
                                              "IDM",
                                              "Illbient",
                                              "Industro-Goth",
                                              "Jam Band",
                                              "Krautrock",
                                              "Leftfield",
                                              "Lounge",
                                              "Math Rock",
                                              "New Romantic",
                                              "Nu-Breakz",
                                              "Post-Punk",
                                              "Post-Rock",
                                              "Psytrance",
                                              "Shoegaze",
                                              "Space Rock",
                                              "Trop Rock",
                                              "World Music",
                                              "Neoclassical",
                                              "Audiobook",
                                              "Audio Theatre",
                                              "Neue Deutsche Welle",
                                              "Podcast",
                                              "Indie Rock",
                                              "G-Funk",
                                              "Dubstep",
                                              "Garage Rock",
                                              "Psybient"};

QString chopTrailingNuls(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QChar(0))
        --end;
    text.truncate(end);
    return text;
}

quint32 bigEndian32(const uchar* bytes)
{
    return (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) |
           quint32(bytes[3]);
}

quint32 littleEndian32(const uchar* bytes)
{
    return quint32(bytes[0]) | (quint32(bytes[1]) << 8) | (quint32(bytes[2]) << 16) |
           (quint32(bytes[3]) << 24);
}

// Syncsafe integers carry 7 bits per byte, most significant first.
quint32 syncsafe32(const uchar* bytes)
{
    return (quint32(bytes[0] & 0x7F) << 21) | (quint32(bytes[1] & 0x7F) << 14) |
           (quint32(bytes[2] & 0x7F) << 7) | quint32(bytes[3] & 0x7F);
}

bool skipBytes(QDataStream& in, qint64 count)
{
    while (count > 0) {
        const int step = int(qMin<qint64>(count, 1 << 30));
        if (in.skipRawData(step) != step)
            return false;
        count -= step;
    }
    return true;
}

QString utf16Text(const QByteArray& bytes, int encoding)
{
    // Encoding 1 carries a byte-order mark; encoding 2 is big-endian by
    // definition. Without a mark, encoding 1 is taken as little-endian.
    bool bigEndian = encoding == 2;
    qsizetype offset = 0;
    if (bytes.size() >= 2) {
        const uchar first = uchar(bytes.at(0));
        const uchar second = uchar(bytes.at(1));
        if (first == 0xFF && second == 0xFE) {
            bigEndian = false;
            offset = 2;
        } else if (first == 0xFE && second == 0xFF) {
            bigEndian = true;
            offset = 2;
        }
    }
    QString text;
    const qsizetype units = (bytes.size() - offset) / 2;
    text.reserve(units);
    for (qsizetype i = 0; i < units; ++i) {
        const uchar a = uchar(bytes.at(offset + 2 * i));
        const uchar b = uchar(bytes.at(offset + 2 * i + 1));
        text.append(QChar(bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a)));
    }
    return text;
}

QString id3FrameText(const QByteArray& frame)
{
    if (frame.isEmpty())
        return {};
    const uchar encoding = uchar(frame.at(0));
    const QByteArray rest = frame.mid(1);
    switch (encoding) {
    case 0:
        return chopTrailingNuls(QString::fromLatin1(rest));
    case 1:
    case 2:
        return chopTrailingNuls(utf16Text(rest.left(rest.size() / 2 * 2), encoding));
    case 3:
        return chopTrailingNuls(QString::fromUtf8(rest));
    default:
        break;
    }
    // Some writers leave out the encoding byte: plain text from the first byte.
    if (encoding >= 0x20 && encoding <= 0x7F)
        return chopTrailingNuls(QString::fromLatin1(frame));
    return {};
}

QString id3KeyOf(const QByteArray& frameId)
{
    static const QHash<QByteArray, QString> keys = {
        {"TIT2", QStringLiteral("Title")},   {"TPE1", QStringLiteral("Artist")},
        {"TALB", QStringLiteral("Album")},   {"TYER", QStringLiteral("Date")},
        {"COMM", QStringLiteral("Comment")}, {"TRCK", QStringLiteral("Tracknumber")},
        {"TCON", QStringLiteral("Genre")},
    };
    return keys.value(frameId, QString::fromLatin1(frameId));
}

bool frameIsUnreadable(int majorVersion, quint8 formatFlags)
{
    if (majorVersion == 3)
        return formatFlags & (kV3Compressed | kV3Encrypted);
    return formatFlags & (kV4Compressed | kV4Encrypted | kV4Unsynchronised);
}

// Text of an ID3v1 field: up to its first NUL, so the track byte of ID3v1.1
// that follows the comment's terminating NUL never joins the comment.
QString id3v1Field(const QByteArray& block, int from, int length)
{
    QByteArray field = block.mid(from, length);
    const qsizetype nul = field.indexOf('\0');
    if (nul >= 0)
        field.truncate(nul);
    return QString::fromUtf8(field);
}

} // namespace

void addVorbisComment(const char* entry, qsizetype length, TagMap& tags)
{
    if (!entry || length <= 0)
        return;
    const QByteArray comment(entry, length);
    const qsizetype equals = comment.indexOf('=');
    if (equals <= 0)
        return;
    const QString name = QString::fromUtf8(comment.left(equals));
    const QString key = name.left(1).toUpper() + name.mid(1).toLower();
    QByteArray value = comment.mid(equals + 1);
    const qsizetype nul = value.indexOf('\0');
    if (nul >= 0)
        value.truncate(nul);
    tags.insert(key, QString::fromUtf8(value));
}

int readID3v2(QDataStream& in, TagMap& tags)
{
    uchar header[kId3HeaderBytes];
    if (in.readRawData(reinterpret_cast<char*>(header), kId3HeaderBytes) != kId3HeaderBytes)
        return -1;
    const int majorVersion = header[3];
    const int revision = header[4];
    const quint8 flags = header[5];
    if (header[0] != 'I' || header[1] != 'D' || header[2] != '3')
        return -1;
    if ((header[6] | header[7] | header[8] | header[9]) & 0x80)
        return -1;
    if ((majorVersion != 3 && majorVersion != 4) || revision == 0xFF)
        return -1;
    qint64 remaining = syncsafe32(header + 6);

    if (flags & 0x40) {
        uchar sizeBytes[4];
        if (in.readRawData(reinterpret_cast<char*>(sizeBytes), 4) != 4)
            return -1;
        // v2.3 counts the bytes after the size field; v2.4 counts the whole
        // extended header in a syncsafe number.
        const qint64 size = majorVersion == 3 ? bigEndian32(sizeBytes) : syncsafe32(sizeBytes);
        qDebug("ID3: extended header size %d", int(size));
        if (size < kId3MinExtendedHeader)
            return -1;
        const qint64 skip = majorVersion == 3 ? size : size - 4;
        remaining -= 4 + skip;
        if (remaining < 0 || !skipBytes(in, skip))
            return int(tags.size());
    }

    while (remaining >= kId3FrameHeaderBytes + 1 && !in.atEnd()) {
        uchar frameHeader[kId3FrameHeaderBytes];
        if (in.readRawData(reinterpret_cast<char*>(frameHeader), kId3FrameHeaderBytes) !=
            kId3FrameHeaderBytes)
            break;
        if (frameHeader[0] == 0)
            break; // padding
        const QByteArray frameId(reinterpret_cast<const char*>(frameHeader), 4);
        const quint32 size =
            majorVersion == 4 ? syncsafe32(frameHeader + 4) : bigEndian32(frameHeader + 4);
        remaining -= kId3FrameHeaderBytes;
        if (size == 0)
            continue;
        if (qint64(size) > remaining)
            break;
        remaining -= size;
        if (size > kId3MaxTextFrame || frameIsUnreadable(majorVersion, frameHeader[9])) {
            if (!skipBytes(in, size))
                break;
            continue;
        }
        QByteArray frame(int(size), '\0');
        if (in.readRawData(frame.data(), int(size)) != int(size))
            break;
        const QString text = id3FrameText(frame);
        if (!text.isEmpty())
            tags.insert(id3KeyOf(frameId), text);
    }
    return int(tags.size());
}

int readID3v1(const QByteArray& block, TagMap& tags)
{
    if (block.size() < kId3v1Bytes || !block.startsWith("TAG"))
        return 0;
    tags.insert(QStringLiteral("Title"), id3v1Field(block, 3, 30));
    tags.insert(QStringLiteral("Artist"), id3v1Field(block, 33, 30));
    tags.insert(QStringLiteral("Album"), id3v1Field(block, 63, 30));
    tags.insert(QStringLiteral("Date"), id3v1Field(block, 93, 4));
    tags.insert(QStringLiteral("Comment"), id3v1Field(block, 97, 30));
    const uchar trackMarker = uchar(block.at(125));
    const uchar track = uchar(block.at(126));
    if (trackMarker == 0 && track != 0)
        tags.insert(QStringLiteral("Tracknumber"), QString::number(track));
    tags.insert(QStringLiteral("Genre"), id3v1Genre(uchar(block.at(127))));
    return int(tags.size());
}

int readWavInfo(const QByteArray& payload, TagMap& tags)
{
    if (payload.size() < kInfoMinPayload || !payload.startsWith("INFO"))
        return int(tags.size());
    static const QHash<QByteArray, QString> keys = {
        {"INAM", QStringLiteral("Title")},   {"IART", QStringLiteral("Artist")},
        {"IPRD", QStringLiteral("Album")},   {"ICRD", QStringLiteral("Date")},
        {"ICMT", QStringLiteral("Comment")}, {"ITRK", QStringLiteral("Tracknumber")},
        {"IGNR", QStringLiteral("Genre")},
    };
    const auto* bytes = reinterpret_cast<const uchar*>(payload.constData());
    const qint64 size = payload.size();
    qint64 pos = 4;
    while (pos + 8 < size) {
        const QByteArray id = payload.mid(pos, 4);
        const quint32 length = littleEndian32(bytes + pos + 4);
        const qint64 dataStart = pos + 8;
        if (dataStart + qint64(length) > size)
            break;
        const QString value =
            chopTrailingNuls(QString::fromUtf8(payload.constData() + dataStart, qsizetype(length)));
        const auto key = keys.constFind(id);
        if (key != keys.constEnd())
            tags.insert(*key, value);
        else
            qDebug("WAV: %8x %8x [%s]", littleEndian32(bytes + pos), length, qUtf8Printable(value));
        pos = dataStart + qint64(length) + (length & 1);
    }
    return int(tags.size());
}

void readID3(SongInfo& song)
{
    QFile file(song.path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QDataStream in(&file);
    in.setByteOrder(QDataStream::LittleEndian);
    readID3v2(in, song.tags);
    if (!song.tags.isEmpty() || file.size() < kId3v1Bytes)
        return;
    if (!file.seek(file.size() - kId3v1Bytes))
        return;
    readID3v1(file.read(kId3v1Bytes), song.tags);
}

QString id3v1Genre(int index)
{
    if (index >= 0 && index < int(kGenres.size()))
        return QString::fromLatin1(kGenres[size_t(index)]);
    return QString::number(index);
}
