// The four tag readers on tags written byte by byte in the test: Vorbis
// comments, ID3v2.3/2.4, ID3v1 with its genre list, RIFF INFO lists.
#include "audio/TagReaders.h"

#include <QBuffer>
#include <QDataStream>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray syncsafe(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[3 - i] = char((value >> (7 * i)) & 0x7F);
    return bytes;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray littleEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// One ID3v2 frame as the given major version writes its size.
QByteArray id3Frame(int version, const QByteArray& id, const QByteArray& payload)
{
    const QByteArray size =
        version == 4 ? syncsafe(quint32(payload.size())) : bigEndian(quint32(payload.size()));
    return id + size + QByteArray(2, '\0') + payload;
}

// An ID3v2 tag around the given body; the declared size may be overridden.
QByteArray id3Tag(int version, const QByteArray& body, quint8 flags = 0, int declared = -1)
{
    QByteArray tag = "ID3";
    tag += char(version);
    tag += char(0);
    tag += char(flags);
    tag += syncsafe(quint32(declared < 0 ? body.size() : declared));
    return tag + body;
}

QByteArray utf16(const QString& text, bool bigEndianOrder)
{
    QByteArray bytes;
    for (QChar c : text) {
        const char16_t unit = c.unicode();
        if (bigEndianOrder)
            bytes += char(unit >> 8), bytes += char(unit & 0xFF);
        else
            bytes += char(unit & 0xFF), bytes += char(unit >> 8);
    }
    return bytes;
}

QByteArray id3v1Block(quint8 byte125, quint8 byte126, quint8 genre,
                      const QByteArray& comment = "nice")
{
    QByteArray block = "TAG";
    block += QByteArray("Title").leftJustified(30, '\0');
    block += QByteArray("Artist").leftJustified(30, '\0');
    block += QByteArray("Album").leftJustified(30, '\0');
    block += "1999";
    block += comment.leftJustified(28, '\0', true);
    block += char(byte125);
    block += char(byte126);
    block += char(genre);
    return block;
}

QByteArray infoChunk(const QByteArray& id, const QByteArray& data)
{
    QByteArray chunk = id + littleEndian(quint32(data.size())) + data;
    if (data.size() % 2)
        chunk += '\0';
    return chunk;
}

} // namespace

using Tags = QMap<QString, QString>;

class TestTagReaders : public QObject
{
    Q_OBJECT
private slots:
    void vorbisComment_data();
    void vorbisComment();
    void id3v2_data();
    void id3v2();
    void id3v2TruncatedStream();
    void id3v1_data();
    void id3v1();
    void wavInfo_data();
    void wavInfo();
};

void TestTagReaders::vorbisComment_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<Tags>("expected");
    QTest::newRow("upper-case name") << QByteArray("TITLE=Song") << Tags{{"Title", "Song"}};
    QTest::newRow("lower-case name") << QByteArray("artist=Band") << Tags{{"Artist", "Band"}};
    QTest::newRow("any other name follows the spelling rule")
        << QByteArray("REPLAYGAIN_TRACK_GAIN=-3 dB") << Tags{{"Replaygain_track_gain", "-3 dB"}};
    QTest::newRow("second equals sign stays in the value")
        << QByteArray("COMMENT=a=b") << Tags{{"Comment", "a=b"}};
    QTest::newRow("value ends at the first NUL")
        << QByteArray("ALBUM=One\0Two", 13) << Tags{{"Album", "One"}};
    QTest::newRow("value is UTF-8") << QByteArray("TITLE=Gr\xc3\xbc\xc3\x9f"
                                                  "e")
                                    << Tags{{"Title", QString::fromUtf8("Grüße")}};
    QTest::newRow("entry without equals sign is skipped") << QByteArray("TITLE") << Tags{};
    QTest::newRow("entry beginning with equals sign is skipped") << QByteArray("=x") << Tags{};
}

void TestTagReaders::vorbisComment()
{
    QFETCH(QByteArray, entry);
    QFETCH(Tags, expected);
    TagMap tags;
    addVorbisComment(entry.constData(), entry.size(), tags);
    QCOMPARE(tags, expected);
}

void TestTagReaders::id3v2_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<int>("result");
    QTest::addColumn<Tags>("expected");

    const QByteArray text200 = QByteArray(200, 'x');
    const QByteArray twoFrames3 =
        id3Frame(3, "TIT2", QByteArray("\0Song", 5)) + id3Frame(3, "TPE1", QByteArray("\0Band", 5));

    QTest::newRow("v2.3 text frames map to the common keys")
        << id3Tag(3, twoFrames3 + id3Frame(3, "TALB", QByteArray("\0Disc", 5)) +
                         id3Frame(3, "TYER",
                                  QByteArray("\0"
                                             "2001",
                                             5)) +
                         id3Frame(3, "TRCK",
                                  QByteArray("\0"
                                             "7",
                                             2)) +
                         id3Frame(3, "TCON", QByteArray("\0(17)", 5)))
        << 6 << Tags{{"Title", "Song"}, {"Artist", "Band"},   {"Album", "Disc"},
                     {"Date", "2001"},  {"Tracknumber", "7"}, {"Genre", "(17)"}};
    QTest::newRow("v2.4 frame size is syncsafe")
        << id3Tag(4, id3Frame(4, "TIT2", '\0' + text200) +
                         id3Frame(4, "TPE1", QByteArray("\0Band", 5)))
        << 2 << Tags{{"Title", QString(text200)}, {"Artist", "Band"}};
    QTest::newRow("v2.3 extended header is skipped whole")
        << id3Tag(3, bigEndian(6) + QByteArray(6, '\x55') + twoFrames3, 0x40) << 2
        << Tags{{"Title", "Song"}, {"Artist", "Band"}};
    QTest::newRow("v2.4 extended header counts itself")
        << id3Tag(4,
                  syncsafe(6) + QByteArray(2, '\x01') +
                      id3Frame(4, "TIT2", QByteArray("\0Song", 5)),
                  0x40)
        << 1 << Tags{{"Title", "Song"}};
    QTest::newRow("extended header below 6 bytes refuses the tag")
        << id3Tag(3, bigEndian(2) + twoFrames3, 0x40) << -1 << Tags{};
    QTest::newRow("UTF-16 with little-endian mark")
        << id3Tag(3, id3Frame(3, "TIT2", "\x01\xff\xfe" + utf16("Grüße", false))) << 1
        << Tags{{"Title", QString::fromUtf8("Grüße")}};
    QTest::newRow("UTF-16 with big-endian mark")
        << id3Tag(3, id3Frame(3, "TIT2", "\x01\xfe\xff" + utf16("Grüße", true))) << 1
        << Tags{{"Title", QString::fromUtf8("Grüße")}};
    QTest::newRow("UTF-16 without mark is little-endian")
        << id3Tag(3, id3Frame(3, "TIT2", '\x01' + utf16("Song", false) + QByteArray(2, '\0'))) << 1
        << Tags{{"Title", "Song"}};
    QTest::newRow("UTF-16BE encoding without mark is big-endian")
        << id3Tag(4, id3Frame(4, "TIT2", '\x02' + utf16("Song", true))) << 1
        << Tags{{"Title", "Song"}};
    QTest::newRow("UTF-8 encoding") << id3Tag(4, id3Frame(4, "TIT2",
                                                          "\x03Gr\xc3\xbc\xc3\x9f"
                                                          "e"))
                                    << 1 << Tags{{"Title", QString::fromUtf8("Grüße")}};
    QTest::newRow("Latin-1 encoding") << id3Tag(3, id3Frame(3, "TIT2",
                                                            QByteArray("\0Gr\xfc\xdf"
                                                                       "e",
                                                                       6)))
                                      << 1 << Tags{{"Title", QString::fromUtf8("Grüße")}};
    QTest::newRow("frame without encoding byte is Latin-1 text")
        << id3Tag(3, id3Frame(3, "TIT2", "Plain")) << 1 << Tags{{"Title", "Plain"}};
    QTest::newRow("unknown frame is kept under its id")
        << id3Tag(3, id3Frame(3, "TPE2", QByteArray("\0Other Band!", 12))) << 1
        << Tags{{"TPE2", "Other Band!"}};
    QTest::newRow("COMM keeps its language at the front")
        << id3Tag(3, id3Frame(3, "COMM", QByteArray("\0engHi", 6))) << 1
        << Tags{{"Comment", "engHi"}};
    QTest::newRow("frame over 256 bytes is skipped")
        << id3Tag(3, id3Frame(3, "TIT2", '\0' + QByteArray(299, 'y')) +
                         id3Frame(3, "TPE1", QByteArray("\0Band", 5)))
        << 1 << Tags{{"Artist", "Band"}};
    QTest::newRow("empty text is not stored")
        << id3Tag(3, id3Frame(3, "TIT2", QByteArray("\0\0", 2))) << 0 << Tags{};
    QTest::newRow("padding ends the tag")
        << id3Tag(3, id3Frame(3, "TIT2", QByteArray("\0Song", 5)) + QByteArray(20, '\0') +
                         id3Frame(3, "TPE1", QByteArray("\0Band", 5)))
        << 1 << Tags{{"Title", "Song"}};
    QTest::newRow("frame larger than the tag ends it")
        << id3Tag(3, id3Frame(3, "TIT2", QByteArray("\0Song", 5)) + "TPE1" + bigEndian(5000) +
                         QByteArray(2, '\0') + "\0Band")
        << 1 << Tags{{"Title", "Song"}};
    QTest::newRow("compressed frame is not read as text")
        << id3Tag(3, "TIT2" + bigEndian(5) + QByteArray("\0\x80", 2) + QByteArray("\0Song", 5)) << 0
        << Tags{};
    QTest::newRow("v2.2 is refused") << id3Tag(2, twoFrames3) << -1 << Tags{};
    QTest::newRow("unsynchronised size byte is refused")
        << QByteArray("ID3\x03\0\0\x80\0\0\x10", 10) + twoFrames3 << -1 << Tags{};
    QTest::newRow("revision 255 is refused")
        << QByteArray("ID3\x03\xff\0\0\0\0\x10", 10) + twoFrames3 << -1 << Tags{};
    QTest::newRow("no header") << QByteArray("RIFF....WAVE") << -1 << Tags{};
}

void TestTagReaders::id3v2()
{
    QFETCH(QByteArray, tag);
    QFETCH(int, result);
    QFETCH(Tags, expected);
    QBuffer buffer(&tag);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QDataStream in(&buffer);
    in.setByteOrder(QDataStream::LittleEndian);
    TagMap tags;
    QCOMPARE(readID3v2(in, tags), result);
    QCOMPARE(tags, expected);
}

void TestTagReaders::id3v2TruncatedStream()
{
    // The header promises far more than the stream holds: every cut of the
    // tag is read up to its end and no further.
    const QByteArray full = id3Tag(4,
                                   id3Frame(4, "TIT2", QByteArray("\0Song", 5)) +
                                       id3Frame(4, "TPE1", QByteArray("\0Band", 5)),
                                   0, 100000);
    for (int cut = 0; cut <= full.size(); ++cut) {
        QByteArray bytes = full.left(cut);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QDataStream in(&buffer);
        TagMap tags;
        const int result = readID3v2(in, tags);
        QVERIFY2(result <= 2, qPrintable(QString::number(cut)));
        if (cut == full.size())
            QCOMPARE(tags, (Tags{{"Title", "Song"}, {"Artist", "Band"}}));
    }
}

void TestTagReaders::id3v1_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("genre");
    QTest::addColumn<QString>("track");
    QTest::addColumn<QString>("comment");
    QTest::newRow("genre 0 is Blues") << id3v1Block(0, 0, 0) << "Blues" << QString() << "nice";
    QTest::newRow("genre 191 is Psybient")
        << id3v1Block(0, 0, 191) << "Psybient" << QString() << "nice";
    QTest::newRow("genre 192 is its number")
        << id3v1Block(0, 0, 192) << "192" << QString() << "nice";
    QTest::newRow("genre 255 is its number")
        << id3v1Block(0, 0, 255) << "255" << QString() << "nice";
    QTest::newRow("track byte 200") << id3v1Block(0, 200, 17) << "Rock"
                                    << "200"
                                    << "nice";
    QTest::newRow("byte 125 set means no track number")
        << id3v1Block('x', 'y', 17, QByteArray(28, 'c')) << "Rock" << QString()
        << QString(28, 'c') + "xy";
    QTest::newRow("comment before a track number has no control byte")
        << id3v1Block(0, 9, 17, QByteArray(28, 'c')) << "Rock"
        << "9" << QString(28, 'c');
}

void TestTagReaders::id3v1()
{
    QFETCH(QByteArray, block);
    QFETCH(QString, genre);
    QFETCH(QString, track);
    QFETCH(QString, comment);
    QCOMPARE(block.size(), 128);
    TagMap tags;
    QVERIFY(readID3v1(block, tags) > 0);
    QCOMPARE(tags.value("Title"), QString("Title"));
    QCOMPARE(tags.value("Artist"), QString("Artist"));
    QCOMPARE(tags.value("Album"), QString("Album"));
    QCOMPARE(tags.value("Date"), QString("1999"));
    QCOMPARE(tags.value("Genre"), genre);
    QCOMPARE(tags.value("Comment"), comment);
    QCOMPARE(tags.contains("Tracknumber"), !track.isNull());
    QCOMPARE(tags.value("Tracknumber"), track);

    TagMap none;
    QCOMPARE(readID3v1(QByteArray("XAG") + block.mid(3), none), 0);
    QCOMPARE(readID3v1(block.left(100), none), 0);
    QVERIFY(none.isEmpty());
}

void TestTagReaders::wavInfo_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<Tags>("expected");
    const QByteArray all = "INFO" + infoChunk("INAM", QByteArray("Song\0", 5)) +
                           infoChunk("IART", "Band") + infoChunk("IPRD", "Disc") +
                           infoChunk("ICRD", "2001") + infoChunk("ICMT", "Note") +
                           infoChunk("ITRK", "7") + infoChunk("IGNR", "Jazz");
    QTest::newRow("every INFO id with odd lengths padded")
        << all
        << Tags{{"Title", "Song"},   {"Artist", "Band"},   {"Album", "Disc"}, {"Date", "2001"},
                {"Comment", "Note"}, {"Tracknumber", "7"}, {"Genre", "Jazz"}};
    QTest::newRow("last sub-chunk ending at the end of the list is taken")
        << "INFO" + infoChunk("ISFT", "sox") + QByteArray("INAM") + littleEndian(4) + "Song"
        << Tags{{"Title", "Song"}};
    QTest::newRow("sub-chunk running past the list ends the walk")
        << "INFO" + infoChunk("IART", "Band") + "INAM" + littleEndian(400) + "Song"
        << Tags{{"Artist", "Band"}};
    QTest::newRow("size near 4 GiB ends the walk")
        << "INFO" + QByteArray("INAM") + littleEndian(0xFFFFFFF0u) + "Song" << Tags{};
    QTest::newRow("list other than INFO is ignored")
        << "adtl" + infoChunk("INAM", "Song") << Tags{};
    QTest::newRow("payload under 13 bytes is ignored") << QByteArray("INFOINAM\1\0\0\0x") << Tags{};
}

void TestTagReaders::wavInfo()
{
    QFETCH(QByteArray, payload);
    QFETCH(Tags, expected);
    TagMap tags;
    QCOMPARE(readWavInfo(payload, tags), int(expected.size()));
    QCOMPARE(tags, expected);
}

QTEST_GUILESS_MAIN(TestTagReaders)
#include "tst_tagreaders.moc"
