// The four decoders on files made at test time by sox, flac, oggenc and lame:
// output against sox's decode of the same file, stream parameters, tags,
// refused formats, damaged files, and closing a stream for the next one.
#include "audio/DecoderSet.h"
#include "audio/FlacDecoder.h"
#include "audio/OggDecoder.h"
#include "audio/PcmBuffer.h"
#include "audio/WavDecoder.h"
#include "audio/mp3decoder/MP3Decoder.h"

#include "AudioFiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <vector>

namespace {

using Format = AudioFiles::Format;
using Tags = QMap<QString, QString>;

// A file of one minute needs ~10 steps; a decoder still going after this many
// has lost its end.
constexpr int kMaxSteps = 2000;
constexpr int kMp3FrameSamples = 1152;

struct Decoded
{
    QByteArray pcm;
    bool ended = false;
};

// Runs decode steps of the given size until the end flag.
template <typename Decoder> Decoded decodeAll(Decoder& decoder, int stepBytes = PcmBuffer::kBytes)
{
    Decoded result;
    std::vector<char> step(static_cast<size_t>(stepBytes));
    for (int i = 0; i < kMaxSteps && !result.ended; ++i) {
        const qint32 got = decoder.decode(step.data(), stepBytes, result.ended);
        if (got < 0 || got > stepBytes)
            break;
        result.pcm.append(step.data(), got);
        if (got == 0 && !result.ended)
            break;
    }
    return result;
}

// The test signal in the format the name's ending (wav, flac, ogg, mp3) names.
QString fileOfKind(AudioFiles& files, const QString& name, const Format& format)
{
    if (name.endsWith(QLatin1String("wav")))
        return files.wav(name, format);
    if (name.endsWith(QLatin1String("flac")))
        return files.flac(name, format);
    if (name.endsWith(QLatin1String("ogg")))
        return files.ogg(name, format);
    return files.mp3(name, format);
}

QByteArray monoToStereo(const QByteArray& mono)
{
    QByteArray stereo;
    stereo.reserve(mono.size() * 2);
    for (qsizetype i = 0; i + 1 < mono.size(); i += 2)
        stereo += mono.mid(i, 2) + mono.mid(i, 2);
    return stereo;
}

// 24-bit little-endian samples scaled to 16 bits by dropping the low byte.
QByteArray shift24To16(const QByteArray& pcm24)
{
    QByteArray out;
    out.reserve(pcm24.size() / 3 * 2);
    for (qsizetype i = 0; i + 2 < pcm24.size(); i += 3)
        out += pcm24.mid(i + 1, 2);
    return out;
}

double rms(const QByteArray& pcm, int channels = 2, int channel = -1)
{
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    const qsizetype count = pcm.size() / 2;
    double sum = 0;
    qsizetype used = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (channel >= 0 && i % channels != channel)
            continue;
        sum += double(samples[i]) * samples[i];
        ++used;
    }
    return used ? std::sqrt(sum / double(used)) : 0.0;
}

int maxDifference(const QByteArray& a, const QByteArray& b)
{
    const auto* x = reinterpret_cast<const qint16*>(a.constData());
    const auto* y = reinterpret_cast<const qint16*>(b.constData());
    int worst = 0;
    for (qsizetype i = 0; i < qMin(a.size(), b.size()) / 2; ++i)
        worst = qMax(worst, std::abs(int(x[i]) - int(y[i])));
    return worst;
}

bool channelsEqual(const QByteArray& stereo)
{
    const auto* s = reinterpret_cast<const qint16*>(stereo.constData());
    for (qsizetype i = 0; i + 1 < stereo.size() / 2; i += 2) {
        if (s[i] != s[i + 1])
            return false;
    }
    return true;
}

// Every expected tag is there with its value; the tools add tags of their own
// (encoder name, channel mask) that are no concern here.
bool containsTags(const TagMap& tags, const Tags& expected)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (!tags.contains(it.key()) || tags.value(it.key()) != it.value())
            return false;
    }
    return true;
}

QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray chunk(const QByteArray& id, const QByteArray& data, qint64 declared = -1)
{
    QByteArray c = id + le32(quint32(declared < 0 ? data.size() : declared)) + data;
    if (data.size() % 2)
        c += '\0';
    return c;
}

QByteArray fmtChunk(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = quint16(channels * bits / 8);
    return chunk("fmt ", le16(tag) + le16(channels) + le32(rate) + le32(rate * align) +
                             le16(align) + le16(bits));
}

QByteArray riff(const QByteArray& chunks)
{
    return "RIFF" + le32(quint32(chunks.size() + 4)) + "WAVE" + chunks;
}

QByteArray syncsafe(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[3 - i] = char((value >> (7 * i)) & 0x7F);
    return bytes;
}

QByteArray id3v24Tag(const QByteArray& title)
{
    const QByteArray payload = '\x03' + title;
    const QByteArray frame =
        "TIT2" + syncsafe(quint32(payload.size())) + QByteArray(2, '\0') + payload;
    return "ID3" + QByteArray("\x04\0\0", 3) + syncsafe(quint32(frame.size())) + frame;
}

} // namespace

class TestDecoders : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void kindByEnding_data();
    void kindByEnding();
    void wavMatchesSox_data();
    void wavMatchesSox();
    void wavChunkWalk();
    void wavRefused_data();
    void wavRefused();
    void headerlessPcm();
    void flacMatchesSox_data();
    void flacMatchesSox();
    void oggMatchesSox_data();
    void oggMatchesSox();
    void mp3MatchesSource_data();
    void mp3MatchesSource();
    void mp3Tags_data();
    void mp3Tags();
    void damagedFiles_data();
    void damagedFiles();
    void closedStreamDeliversNothingUntilReopened_data();
    void closedStreamDeliversNothingUntilReopened();
    void oggSetupRefusedOnFirstRead();
    void oggSampleRateField_data();
    void oggSampleRateField();

private:
    QTemporaryDir dir;
    std::unique_ptr<AudioFiles> files;
};

void TestDecoders::initTestCase()
{
    if (!AudioFiles::haveTools({"sox", "flac", "oggenc", "lame"}))
        QSKIP("sox, flac, oggenc and lame are needed to make the test files");
    QVERIFY(dir.isValid());
    files = std::make_unique<AudioFiles>(dir.path());
}

void TestDecoders::kindByEnding_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("kind");
    QTest::newRow("upper-case .OGG") << "/m/a.OGG" << int(DecoderOgg);
    QTest::newRow("ending without dot") << "/m/xyzogg" << int(DecoderOgg);
    QTest::newRow("mp3") << "/m/a.Mp3" << int(DecoderMp3);
    QTest::newRow("wav") << "/m/a.wav" << int(DecoderWav);
    QTest::newRow("raw") << "/m/a.raw" << int(DecoderWav);
    QTest::newRow("pcm") << "/m/a.pcm" << int(DecoderWav);
    QTest::newRow("flac") << "/m/a.FLAC" << int(DecoderFlac);
    QTest::newRow("mp4 is unknown") << "/m/a.mp4" << int(DecoderNone);
}

void TestDecoders::kindByEnding()
{
    QFETCH(QString, path);
    QFETCH(int, kind);
    QCOMPARE(DecoderSet::kindOfPath(path), kind);
    DecoderSet decoders;
    SongInfo song;
    song.path = path; // none of these exist
    QVERIFY(!openDecoder(decoders, song));
    QCOMPARE(song.kind, kind == DecoderNone ? int(DecoderNone) : int(DecoderFailed));
}

void TestDecoders::wavMatchesSox_data()
{
    QTest::addColumn<Format>("format");
    QTest::newRow("mono 16 bit 44.1 kHz") << Format{44100, 1, 16, 1.3};
    QTest::newRow("stereo 16 bit 48 kHz") << Format{48000, 2, 16, 1.3};
    QTest::newRow("stereo 16 bit 32 kHz") << Format{32000, 2, 16, 7.1};
}

void TestDecoders::wavMatchesSox()
{
    QFETCH(Format, format);
    const QString path = files->wav("plain.wav", format);
    QVERIFY2(!path.isEmpty(), qPrintable(files->lastError()));
    const QByteArray expected = files->soxDecode(path);
    QVERIFY(!expected.isEmpty());

    WavDecoder decoder;
    SongInfo song;
    song.path = path;
    QVERIFY(decoder.open(song));
    QCOMPARE(song.kind, int(DecoderWav));
    QCOMPARE(song.sampleRate, format.rate);
    QCOMPARE(song.channels, format.channels); // mono stays mono
    QCOMPARE(song.frames, qint64(expected.size() / 2 / format.channels));
    const Decoded first = decodeAll(decoder);
    QVERIFY(first.ended);
    QCOMPARE(first.pcm, expected);
    // After the end the file starts over from its first sample.
    const Decoded second = decodeAll(decoder, 4000);
    QCOMPARE(second.pcm, expected);
}

void TestDecoders::wavChunkWalk()
{
    // Hand-assembled RIFF: an odd-length chunk before the format, an INFO
    // list with odd-length entries, an ID3v2 chunk, and a chunk after the
    // data that must never be played.
    const QByteArray pcm = files->soxDecode(files->wav("src.wav", Format{44100, 2, 16, 0.5}));
    QVERIFY(!pcm.isEmpty());
    const QByteArray info = "INFO" + chunk("INAM", "Odd") + chunk("IART", "Band") +
                            chunk("ITRK", "7") + chunk("ISFT", "hand");
    const QByteArray bytes = riff(chunk("junk", "abc") + fmtChunk(1, 2, 44100, 16) +
                                  chunk("LIST", info) + chunk("id3 ", id3v24Tag("Tagged")) +
                                  chunk("data", pcm) + chunk("tail", QByteArray(999, '\x7f')));
    const QString path = files->write("chunks.wav", bytes);

    WavDecoder decoder;
    SongInfo song;
    song.path = path;
    QVERIFY2(decoder.open(song), qPrintable(decoder.lastError()));
    QCOMPARE(song.tags, (Tags{{"Title", "Tagged"}, {"Artist", "Band"}, {"Tracknumber", "7"}}));
    QCOMPARE(song.frames, qint64(pcm.size() / 4));
    const Decoded decoded = decodeAll(decoder);
    QVERIFY(decoded.ended);
    QCOMPARE(decoded.pcm, pcm);

    // A data chunk that claims more than the file holds plays what is there.
    const QByteArray claimed = riff(fmtChunk(1, 2, 44100, 16) + chunk("data", pcm, 0xFFFFFFF0));
    WavDecoder capped;
    SongInfo cappedSong;
    cappedSong.path = files->write("capped.wav", claimed);
    QVERIFY(capped.open(cappedSong));
    QCOMPARE(cappedSong.frames, qint64(pcm.size() / 4));
    QCOMPARE(decodeAll(capped).pcm, pcm);
}

void TestDecoders::wavRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QByteArray data = chunk("data", QByteArray(400, '\x11'));
    QTest::newRow("24-bit samples")
        << riff(fmtChunk(1, 2, 44100, 24) + data) << "bits pro Sample 24 != 16";
    QTest::newRow("IEEE float") << riff(fmtChunk(3, 2, 44100, 32) + data) << "kein PCM Format 3";
    QTest::newRow("no channels") << riff(fmtChunk(1, 0, 44100, 16) + data)
                                 << "Kanalzahl 0 nicht unterstützt";
    QTest::newRow("six channels") << riff(fmtChunk(1, 6, 44100, 16) + data)
                                  << "Kanalzahl 6 nicht unterstützt";
    QTest::newRow("rate 0") << riff(fmtChunk(1, 2, 0, 16) + data)
                            << "Abtastrate 0 nicht unterstützt";
    QTest::newRow("extensible format chunk")
        << riff(chunk("fmt ", QByteArray(40, '\1')) + data) << "Format Länge 40 != 16";
    QTest::newRow("no data chunk")
        << riff(fmtChunk(1, 2, 44100, 16)) << "Audio Datenblock nicht gefunden";
    QTest::newRow("no format chunk") << riff(data) << "Format Info nicht gefunden";
    QTest::newRow("no RIFF header") << QByteArray(64, '\x22') << "hat keinen RIFF Header";
    QTest::newRow("zero-length file") << QByteArray() << "hat keinen RIFF Header";
    QTest::newRow("RIFF but not WAVE") << "RIFF" + le32(4) + "AVI "
                                       << "ist kein [WAVE] Format";
    QTest::newRow("format chunk cut short")
        << riff(fmtChunk(1, 2, 44100, 16)).left(28) << "Format Info nicht gefunden";
}

void TestDecoders::wavRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    WavDecoder decoder;
    SongInfo song;
    song.path = files->write("refused.wav", bytes);
    QVERIFY(!decoder.open(song));
    QCOMPARE(song.kind, int(DecoderFailed));
    QCOMPARE(decoder.lastError(), error);
    bool end = false;
    char step[64];
    QCOMPARE(decoder.decode(step, sizeof step, end), 0);
}

void TestDecoders::headerlessPcm()
{
    QByteArray raw;
    for (int i = 0; i < 10000; ++i)
        raw += le16(quint16(i * 7));
    WavDecoder decoder;
    for (const QString& name : {QString("tone.raw"), QString("tone.PCM")}) {
        SongInfo song;
        song.path = files->write(name, raw);
        QVERIFY(decoder.open(song));
        QCOMPARE(song.channels, 2);
        QCOMPARE(song.sampleRate, 44100);
        QCOMPARE(song.frames, qint64(raw.size() / 4));
        QCOMPARE(decodeAll(decoder).pcm, raw);
    }
    SongInfo named;
    named.path = files->write("tone.wav", raw);
    QVERIFY(!decoder.open(named));
    QCOMPARE(decoder.lastError(), QString("hat keinen RIFF Header"));
}

void TestDecoders::flacMatchesSox_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("step");
    QTest::newRow("stereo 16 bit")
        << Format{44100, 2, 16, 2.0} << QStringList() << PcmBuffer::kBytes;
    QTest::newRow("mono 16 bit is doubled")
        << Format{44100, 1, 16, 2.0} << QStringList() << PcmBuffer::kBytes;
    QTest::newRow("stereo 24 bit is scaled")
        << Format{48000, 2, 24, 2.0} << QStringList() << PcmBuffer::kBytes;
    QTest::newRow("4608-frame blocks")
        << Format{44100, 2, 16, 3.0} << QStringList{"--blocksize=4608"} << PcmBuffer::kBytes;
    QTest::newRow("4608-frame blocks, small odd steps")
        << Format{44100, 2, 24, 1.0} << QStringList{"--blocksize=4608"} << 4101;
    QTest::newRow("largest blocks, mono 24 bit")
        << Format{44100, 1, 24, 4.0} << QStringList{"--blocksize=16384", "--lax"} << 70001;
}

void TestDecoders::flacMatchesSox()
{
    QFETCH(Format, format);
    QFETCH(QStringList, options);
    QFETCH(int, step);
    const QString path = files->flac(
        "tone.flac", format,
        options + QStringList{"-T", "TITLE=Tone", "-T", "artist=Maker", "-T", "TRACKNUMBER=3"});
    QVERIFY2(!path.isEmpty(), qPrintable(files->lastError()));
    QByteArray expected = format.bits == 24 ? shift24To16(files->soxDecode(path, {"-b", "24"}))
                                            : files->soxDecode(path);
    QVERIFY(!expected.isEmpty());
    if (format.channels == 1)
        expected = monoToStereo(expected);

    FlacDecoder decoder;
    SongInfo song;
    song.path = path;
    QVERIFY(decoder.open(song));
    QCOMPARE(song.kind, int(DecoderFlac));
    QCOMPARE(song.sampleRate, format.rate);
    QCOMPARE(song.channels, 2); // what is delivered
    QCOMPARE(song.frames, qint64(expected.size() / 4));
    QVERIFY(
        containsTags(song.tags, {{"Title", "Tone"}, {"Artist", "Maker"}, {"Tracknumber", "3"}}));
    const Decoded first = decodeAll(decoder, step);
    QVERIFY(first.ended);
    QCOMPARE(first.pcm.size(), expected.size());
    QVERIFY(first.pcm == expected);
    const Decoded second = decodeAll(decoder, step);
    QVERIFY(second.pcm == expected);
}

void TestDecoders::oggMatchesSox_data()
{
    QTest::addColumn<Format>("format");
    QTest::newRow("stereo 44.1 kHz") << Format{44100, 2, 16, 2.0};
    QTest::newRow("mono 48 kHz stays mono") << Format{48000, 1, 16, 2.0};
}

void TestDecoders::oggMatchesSox()
{
    QFETCH(Format, format);
    const QString path =
        files->ogg("tone.ogg", format, {"-c", "TITLE=Ogg Tone", "-c", "Genre=Jazz", "-c", "X=a=b"});
    QVERIFY2(!path.isEmpty(), qPrintable(files->lastError()));
    const QByteArray expected = files->soxDecode(path);
    QVERIFY(!expected.isEmpty());

    OggDecoder decoder;
    SongInfo song;
    song.path = path;
    QVERIFY(decoder.open(song));
    QCOMPARE(song.kind, int(DecoderOgg));
    QCOMPARE(song.sampleRate, format.rate);
    QCOMPARE(song.channels, format.channels);
    QCOMPARE(song.tags.value("Title"), QString("Ogg Tone"));
    QCOMPARE(song.tags.value("Genre"), QString("Jazz"));
    QCOMPARE(song.tags.value("X"), QString("a=b"));
    const Decoded decoded = decodeAll(decoder);
    QVERIFY(decoded.ended);
    QCOMPARE(song.frames, qint64(decoded.pcm.size() / 2 / format.channels));
    QCOMPARE(decoded.pcm.size(), expected.size());
    QVERIFY2(maxDifference(decoded.pcm, expected) <= 2,
             qPrintable(QString::number(maxDifference(decoded.pcm, expected))));
    QCOMPARE(decodeAll(decoder).pcm, decoded.pcm);
}

void TestDecoders::mp3MatchesSource_data()
{
    QTest::addColumn<Format>("format");
    QTest::newRow("stereo 44.1 kHz") << Format{44100, 2, 16, 3.0};
    QTest::newRow("stereo 48 kHz is resampled") << Format{48000, 2, 16, 3.0};
    QTest::newRow("mono 44.1 kHz is doubled") << Format{44100, 1, 16, 3.0};
    QTest::newRow("mono 48 kHz") << Format{48000, 1, 16, 3.0};
}

void TestDecoders::mp3MatchesSource()
{
    QFETCH(Format, format);
    const QString path = files->mp3("tone.mp3", format, {"-b", "192"});
    QVERIFY2(!path.isEmpty(), qPrintable(files->lastError()));
    const QByteArray reference = files->soxDecode(path, {"-b", "16", "-r", "44100", "-c", "2"});
    QVERIFY(!reference.isEmpty());

    MP3Decoder decoder;
    SongInfo song;
    song.path = path;
    QVERIFY(decoder.open(song));
    QCOMPARE(song.kind, int(DecoderMp3));
    // What is delivered, so the song plays at its true speed.
    QCOMPARE(song.sampleRate, 44100);
    QCOMPARE(song.channels, 2);
    const Decoded decoded = decodeAll(decoder);
    QVERIFY(decoded.ended);
    const qint64 frames = decoded.pcm.size() / 4;
    const qint64 sourceFrames = qint64(format.seconds * 44100);
    QVERIFY2(std::abs(frames - sourceFrames) <= kMp3FrameSamples,
             qPrintable(QString("%1 vs %2").arg(frames).arg(sourceFrames)));
    QVERIFY2(std::abs(song.frames - frames) <= kMp3FrameSamples,
             qPrintable(QString("%1 vs %2").arg(song.frames).arg(frames)));
    QVERIFY2(std::abs(qint64(reference.size() / 4) - frames) <= 2 * kMp3FrameSamples,
             qPrintable(QString("sox %1 vs %2").arg(reference.size() / 4).arg(frames)));
    for (int channel = 0; channel < 2; ++channel) {
        const double ours = rms(decoded.pcm, 2, channel);
        const double theirs = rms(reference, 2, channel);
        QVERIFY2(ours > 1000 && std::abs(20 * std::log10(ours / theirs)) < 0.5,
                 qPrintable(QString("channel %1: %2 vs %3").arg(channel).arg(ours).arg(theirs)));
    }
    if (format.channels == 1)
        QVERIFY(channelsEqual(decoded.pcm));
    QCOMPARE(decodeAll(decoder).pcm.size(), decoded.pcm.size());
}

void TestDecoders::mp3Tags_data()
{
    QTest::addColumn<QStringList>("lameOptions");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<Tags>("expected");
    const QStringList tags = {"--tt", "Song", "--ta", "Band", "--tl", "Disc",
                              "--ty", "2001", "--tn", "5",    "--tg", "Rock"};
    QTest::newRow("ID3v2.3 from lame")
        << tags + QStringList{"--id3v2-only"} << QByteArray()
        << Tags{{"Title", "Song"}, {"Artist", "Band"},   {"Album", "Disc"},
                {"Date", "2001"},  {"Tracknumber", "5"}, {"Genre", "Rock"}};
    QTest::newRow("ID3v1 only") << tags + QStringList{"--id3v1-only"} << QByteArray()
                                << Tags{{"Title", "Song"}, {"Artist", "Band"},   {"Album", "Disc"},
                                        {"Date", "2001"},  {"Tracknumber", "5"}, {"Genre", "Rock"},
                                        {"Comment", ""}};
    QTest::newRow("ID3v2.4 in front")
        << QStringList{} << id3v24Tag("Vier") << Tags{{"Title", "Vier"}};
    QTest::newRow("ID3v2.2 falls back to ID3v1")
        << tags + QStringList{"--id3v1-only"}
        << QByteArray("ID3\x02\0\0\0\0\0\x0c"
                      "TT2\0\0\x05\0Old!",
                      22)
        << Tags{{"Title", "Song"},    {"Artist", "Band"}, {"Album", "Disc"}, {"Date", "2001"},
                {"Tracknumber", "5"}, {"Genre", "Rock"},  {"Comment", ""}};
}

void TestDecoders::mp3Tags()
{
    QFETCH(QStringList, lameOptions);
    QFETCH(QByteArray, prefix);
    QFETCH(Tags, expected);
    QString path = files->mp3("tagged.mp3", Format{44100, 2, 16, 0.5}, lameOptions);
    QVERIFY2(!path.isEmpty(), qPrintable(files->lastError()));
    if (!prefix.isEmpty())
        path = files->write("prefixed.mp3", prefix + AudioFiles::read(path));
    MP3Decoder decoder;
    SongInfo song;
    song.path = path;
    QVERIFY(decoder.open(song));
    QVERIFY2(containsTags(song.tags, expected),
             qPrintable(QStringList(song.tags.keys()).join(' ')));
}

void TestDecoders::damagedFiles_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("damage");
    for (const char* ending : {"wav", "flac", "ogg", "mp3"}) {
        for (const char* damage : {"cut in half", "junk in the middle", "zero length", "only junk"})
            QTest::addRow("%s %s", ending, damage) << QString(ending) << QString(damage);
    }
}

void TestDecoders::damagedFiles()
{
    QFETCH(QString, ending);
    QFETCH(QString, damage);
    // Long enough that half the file holds whole Ogg pages and MPEG frames.
    const Format format{44100, 2, 16, 10.0};
    const QString whole = fileOfKind(*files, "whole." + ending, format);
    QVERIFY2(!whole.isEmpty(), qPrintable(files->lastError()));
    QByteArray bytes = AudioFiles::read(whole);
    // Deterministic junk, so a failure can be repeated.
    QByteArray junk(8192, '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 1103515245u + 12345u) >> 16);
    if (damage == "cut in half")
        bytes.truncate(bytes.size() / 2);
    else if (damage == "junk in the middle")
        bytes.replace(bytes.size() / 2, junk.size(), junk);
    else if (damage == "zero length")
        bytes.clear();
    else
        bytes = junk + junk;
    const QString path = files->write("damaged." + ending, bytes);

    DecoderSet decoders;
    SongInfo song;
    song.path = path;
    const bool opened = openDecoder(decoders, song);
    if (damage == "zero length" || damage == "only junk") {
        QVERIFY(!opened);
        QCOMPARE(song.kind, int(DecoderFailed));
        return;
    }
    QVERIFY(opened);
    std::vector<char> step(PcmBuffer::kBytes);
    bool end = false;
    qint64 total = 0;
    int steps = 0;
    for (; steps < kMaxSteps && !end; ++steps)
        total += decoders.decode(song.kind, step.data(), PcmBuffer::kBytes, end);
    QVERIFY2(end, "the decoder never ended the damaged file");
    QVERIFY(total > 0);
    // Never more than the undamaged file holds, with one MPEG frame of slack.
    QVERIFY(total <= qint64(format.seconds * format.rate * 4) + kMp3FrameSamples * 4);
}

void TestDecoders::closedStreamDeliversNothingUntilReopened_data()
{
    QTest::addColumn<QString>("ending");
    for (const char* ending : {"wav", "flac", "ogg", "mp3"})
        QTest::newRow(ending) << QString(ending);
}

// The decode thread closes each song once it has ended: the object must hand
// out nothing from the closed stream, survive rewind and a second close, and
// play the next file opened with it from its first sample.
void TestDecoders::closedStreamDeliversNothingUntilReopened()
{
    QFETCH(QString, ending);
    const Format format{44100, 2, 16, 0.5};
    const QString path = fileOfKind(*files, "close." + ending, format);
    QVERIFY2(!path.isEmpty(), qPrintable(files->lastError()));

    DecoderSet decoders;
    SongInfo song;
    song.path = path;
    QVERIFY(openDecoder(decoders, song));
    std::vector<char> step(PcmBuffer::kBytes);
    bool end = false;
    QByteArray first;
    for (int i = 0; i < kMaxSteps && !end; ++i) {
        const qint32 got = decoders.decode(song.kind, step.data(), PcmBuffer::kBytes, end);
        first.append(step.data(), got);
    }
    QVERIFY(end);
    QVERIFY(!first.isEmpty());

    decoders.close(song.kind);
    decoders.rewind(song.kind);
    decoders.close(song.kind);
    end = false;
    QCOMPARE(decoders.decode(song.kind, step.data(), PcmBuffer::kBytes, end), 0);

    SongInfo again;
    again.path = path;
    QVERIFY(openDecoder(decoders, again));
    QCOMPARE(again.kind, song.kind);
    QByteArray second;
    end = false;
    for (int i = 0; i < kMaxSteps && !end; ++i) {
        const qint32 got = decoders.decode(again.kind, step.data(), PcmBuffer::kBytes, end);
        second.append(step.data(), got);
    }
    QVERIFY2(second == first, "the file opened after a close did not play as the first time");
}

// data/broken-codebook.ogg: "oggenc -q 0" of 0.1 s of two sines at 8 kHz
// (sox), with byte 249, a codeword length of the first codebook, changed
// from 0x7F to 0x4A and the page checksums made right again (found by
// fuzz_decoder_ogg). libvorbis opens it, refuses its decoder setup on the
// first read, and divides by zero on any later read of the same stream.
void TestDecoders::oggSetupRefusedOnFirstRead()
{
    DecoderSet decoders;
    SongInfo song;
    song.path = QStringLiteral(TEST_DATA_DIR "/broken-codebook.ogg");
    QVERIFY(openDecoder(decoders, song));
    std::vector<char> step(PcmBuffer::kBytes);
    bool end = false;
    QCOMPARE(decoders.decode(song.kind, step.data(), PcmBuffer::kBytes, end), 0);
    QVERIFY(end);
    decoders.rewind(song.kind);
    end = false;
    QCOMPARE(decoders.decode(song.kind, step.data(), PcmBuffer::kBytes, end), 0);
    // The next song of the playlist opens as usual.
    const QString good = files->ogg("after-broken.ogg", Format{44100, 2, 16, 0.2});
    QVERIFY2(!good.isEmpty(), qPrintable(files->lastError()));
    song = SongInfo();
    song.path = good;
    QVERIFY(openDecoder(decoders, song));
    QVERIFY(decoders.decode(song.kind, step.data(), PcmBuffer::kBytes, end) > 0);
}

void TestDecoders::oggSampleRateField_data()
{
    QTest::addColumn<quint32>("rate");
    QTest::addColumn<bool>("opens");
    QTest::newRow("48 kHz") << quint32(48000) << true;
    QTest::newRow("0 Hz") << quint32(0) << false;
    QTest::newRow("2^31 Hz would be a negative int") << quint32(0x80000000) << false;
    // The rate fuzz_decoder_ogg found: -7872 once cut to an int.
    QTest::newRow("4294959424 Hz") << quint32(0xFFFFE140) << false;
}

// The identification header's rate written over, with the page checksum made
// right again, so that only the decoder's own check can refuse it.
void TestDecoders::oggSampleRateField()
{
    QFETCH(quint32, rate);
    QFETCH(bool, opens);
    constexpr int kRateInHeader = 12; // "\x01vorbis", version, channels
    const QString made = files->ogg("rate.ogg", Format{44100, 2, 16, 0.2});
    QVERIFY2(!made.isEmpty(), qPrintable(files->lastError()));
    QByteArray bytes = AudioFiles::read(made);
    const qsizetype header = bytes.indexOf("\x01vorbis");
    QVERIFY(header > 0);
    qToLittleEndian(rate, bytes.data() + header + kRateInHeader);
    DecoderSet decoders;
    SongInfo song;
    song.path = files->write("rate-changed.ogg", AudioFiles::withOggChecksums(bytes));
    QCOMPARE(openDecoder(decoders, song), opens);
    QCOMPARE(song.kind, opens ? int(DecoderOgg) : int(DecoderFailed));
    if (opens)
        QCOMPARE(song.sampleRate, int(rate));
}

QTEST_GUILESS_MAIN(TestDecoders)
#include "tst_decoders.moc"
