// The example projects of the menu "Beispiel laden": each opens as a store
// whose every key the command layer accepts, and holds what its menu text
// promises. Audio paths in the examples are relative to the folder the
// program runs in, the source root.
#include "board/RdsText.h"
#include "settings/FMSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kSourceRoot = QStringLiteral(TEST_SOURCE_ROOT "/");
constexpr int kRadioTextChars = 64;
constexpr int kErtBytes = 128;
constexpr int kPsChars = 8;

bool existsInSourceRoot(const QString& relativePath)
{
    return QFileInfo(kSourceRoot + relativePath).isFile();
}

QList<int> usedChannels(const FMSettings& store)
{
    QList<int> used;
    for (int n = 1; n <= FMSettings::kChannelCount; ++n) {
        if (store.channel(n).used)
            used.append(n);
    }
    return used;
}

QString decoded(QString text, int maxDigits)
{
    RdsText::decodeEscapes(text, maxDigits);
    return text;
}

} // namespace

class TestExamples : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void everyKeyPassesTheSchema_data();
    void everyKeyPassesTheSchema();
    void twoSineTonesOn100MHz();
    void threeAudioFiles();
    void stationChangeWithAutoAF();
    void radioTextWithRadioTextPlus();
    void anyCharactersInRadioText();
    void twoTmcTrafficJams();

private:
    // A working copy of the example, as the window makes one.
    FMSettings& open(const QString& example);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FMSettings> store;
};

void TestExamples::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    store.reset();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

FMSettings& TestExamples::open(const QString& example)
{
    const QString copy = dir->filePath(QStringLiteral("Quorvin.fm"));
    QFile::remove(copy);
    if (!QFile::copy(kSourceRoot + QStringLiteral("examples/") + example, copy))
        qFatal("no example %s", qPrintable(example));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    store = std::make_unique<FMSettings>(copy);
    return *store;
}

void TestExamples::everyKeyPassesTheSchema_data()
{
    QTest::addColumn<QString>("example");
    for (int i = 1; i <= 6; ++i) {
        const QString name = QStringLiteral("11-%1.fm").arg(i);
        QTest::newRow(qPrintable(name)) << name;
    }
}

// Setting a stored value again through the command layer answers "data did
// not change" only for a known key with a value in range.
void TestExamples::everyKeyPassesTheSchema()
{
    QFETCH(QString, example);
    FMSettings& project = open(example);
    QSettings file(kSourceRoot + QStringLiteral("examples/") + example, QSettings::IniFormat);
    QVERIFY(file.status() == QSettings::NoError);
    const QStringList keys = file.allKeys();
    QVERIFY(!keys.isEmpty());

    for (const QString& key : keys) {
        if (key.startsWith(QLatin1String("board/")))
            continue;
        const QString keyPath = QString(key).replace(QLatin1Char('/'), QLatin1Char('.'));
        const int code = project.set(keyPath, file.value(key));
        QVERIFY2(code == FMSettings::Unchanged,
                 qPrintable(keyPath + QStringLiteral(": ") + project.errorText(code)));
    }
    QVERIFY(!project.isDirty());
}

void TestExamples::twoSineTonesOn100MHz()
{
    FMSettings& project = open(QStringLiteral("11-1.fm"));

    QCOMPARE(usedChannels(project), QList<int>{1});
    const ChannelConfig channel = project.channel(1);
    QCOMPARE(channel.freq, 100.0);
    QVERIFY(!channel.mono);
    const AudioSource tone = project.audioSource(channel.idaudio);
    QVERIFY(tone.used);
    QCOMPARE(tone.type, 0); // sine: frq1 left, frq2 right
    QVERIFY(tone.frq1 != tone.frq2);
    QVERIFY(tone.vol1 > 0 && tone.vol2 > 0);
}

void TestExamples::threeAudioFiles()
{
    FMSettings& project = open(QStringLiteral("11-2.fm"));

    const QList<int> channels = usedChannels(project);
    QCOMPARE(channels.size(), 3);
    QSet<QString> suffixes;
    for (int n : channels) {
        const AudioSource source = project.audioSource(project.channel(n).idaudio);
        QCOMPARE(source.type, 2);
        QVERIFY2(existsInSourceRoot(source.file), qPrintable(source.file));
        suffixes.insert(QFileInfo(source.file).suffix());
        QVERIFY(project.channel(n).autoRate);
    }
    QCOMPARE(suffixes, (QSet<QString>{"flac", "ogg", "mp3"}));
}

void TestExamples::stationChangeWithAutoAF()
{
    FMSettings& project = open(QStringLiteral("11-3.fm"));
    // As the channel strips and the window do when a project opens.
    project.updateAllDistances();
    project.updateAutoAF(true);

    const QList<int> channels = usedChannels(project);
    QCOMPARE(channels.size(), 3);
    QSet<int> sources;
    QList<qint32> frequencies;
    for (int n : channels) {
        sources.insert(project.channel(n).idrds);
        frequencies.append(qint32(std::lround(project.channel(n).freq * 10)));
    }
    QCOMPARE(sources.size(), 1);
    const RDSSource rds = project.rdsSource(*sources.cbegin());
    QCOMPARE(rds.afu & 3, 3); // AF on, automatic list
    QList<qint32> alternatives;
    for (const AFEntry& entry : rds.af)
        alternatives.append(entry.freq);
    QCOMPARE(alternatives, frequencies);
}

void TestExamples::radioTextWithRadioTextPlus()
{
    FMSettings& project = open(QStringLiteral("11-4.fm"));

    QCOMPARE(usedChannels(project), QList<int>{1});
    const RDSSource rds = project.rdsSource(project.channel(1).idrds);
    QVERIFY(rds.rtxt & 1);   // RadioText
    QVERIFY(rds.rtxt & 128); // RadioText+ announced in 3A
    QVERIFY(rds.rtitm & 8);  // tags from the playing song
    QVERIFY(rds.gmin[2].on && rds.gmin[3].on && rds.gmin[rds.rtgrp].on);
    QCOMPARE(rds.rttag.size(), 2);
    QCOMPARE(rds.rttag[0].type, 1); // title
    QCOMPARE(rds.rttag[1].type, 4); // artist
    QVERIFY(rds.rta.contains(QLatin1String("$0")) && rds.rta.contains(QLatin1String("$1")));

    const AudioSource audio = project.audioSource(project.channel(1).idaudio);
    QCOMPARE(audio.type, 2);
    QCOMPARE(audio.file, QStringLiteral("playlist.1"));
    const QStringList songs = project.playlist(1);
    QCOMPARE(songs.size(), 3);
    for (const QString& song : songs)
        QVERIFY2(existsInSourceRoot(song), qPrintable(song));
}

void TestExamples::anyCharactersInRadioText()
{
    FMSettings& project = open(QStringLiteral("11-5.fm"));

    const RDSSource rds = project.rdsSource(project.channel(1).idrds);
    QVERIFY(rds.rtxt & 1);  // RadioText
    QVERIFY(rds.rtxt & 2);  // enhanced RadioText
    QVERIFY(rds.rtxt & 64); // announced in 3A
    QVERIFY(rds.gmin[2].on && rds.gmin[3].on && rds.gmin[rds.ertg].on);
    QVERIFY(RdsText::usesE1Table(rds.crt));
    QCOMPARE(rds.enc, QByteArray("UTF-8"));
    QVERIFY(decoded(rds.ps, RdsText::kShortEscapeDigits).size() <= kPsChars);

    // Every character of RadioText A and B is in the RDS character set: none
    // goes on air as the '?' of an unknown one.
    for (const QString& radioText : {rds.rta, rds.rtb}) {
        QString text = radioText;
        const QList<int> escapes = RdsText::decodeEscapes(text, RdsText::kShortEscapeDigits);
        QVERIFY2(text.size() <= kRadioTextChars, qPrintable(text));
        QVERIFY2(!RdsText::toE1(text, escapes).contains('?'), qPrintable(text));
    }
    // Enhanced RadioText carries what E.1 cannot: Cyrillic, Arabic, CJK.
    bool beyondLatin = false;
    for (const QString& ert : {rds.rtc, rds.rtd}) {
        const QString text = decoded(ert, RdsText::kLongEscapeDigits);
        QVERIFY2(text.toUtf8().size() <= kErtBytes, qPrintable(text));
        for (const QChar c : text)
            beyondLatin = beyondLatin || c.unicode() >= 0x0400;
    }
    QVERIFY(beyondLatin);
}

void TestExamples::twoTmcTrafficJams()
{
    constexpr quint16 kEventTrafficJam = 101; // ALERT-C "Stau"
    FMSettings& project = open(QStringLiteral("11-6.fm"));

    const RDSSource rds = project.rdsSource(project.channel(1).idrds);
    QCOMPARE(rds.tp, quint8(1));
    QVERIFY(rds.gmin[3].on && rds.gmin[8].on);
    const TMCSource tmc = project.tmcSource(int(rds.tmcsi));
    QVERIFY(tmc.used);
    QVERIFY(tmc.flag & 1); // variant 0 announced
    QCOMPARE(tmc.messages.size(), 2);
    for (const TMCMessage& message : tmc.messages) {
        QCOMPARE(message.event, kEventTrafficJam);
        QCOMPARE(message.send, quint8(TMCMessage::Yes));
    }
    QVERIFY(tmc.messages[0].location != tmc.messages[1].location);
}

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"
