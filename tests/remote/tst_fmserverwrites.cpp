// A SET is answered at once, while the store writes its file a moment
// later: when that write fails (a full disk, stood in for by cutting the
// file short right after the write), the client that set the keys is told
// which of its changes are not stored.
#include "ServerKit.h"

#include <QFileInfo>

class TestFMServerWrites : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Settings::setAfterWriteHook({}); }
    void changesThatWereNotStoredAreReported();
    void manyChangesAreNamedUpToABound();
};

void TestFMServerWrites::changesThatWereNotStoredAreReported()
{
    ServerRig rig;
    auto client = rig.client();
    QVERIFY(client);
    rig.quieten(*client);
    QVERIFY(rig.store->writeNow());

    Settings::setAfterWriteHook([](const QString& name) { QFile::resize(name, 0); });
    QCOMPARE(client->exchange("SET channel.1.freq 99.9\r\nSET channel.2.gain -5\r\n"
                              "SET channel.1.freq 99.8\r\n"),
             (QStringList{"SET ok: channel.1.freq = 99.9", "SET ok: channel.2.gain = -5",
                          "SET ok: channel.1.freq = 99.8"}));
    QCOMPARE(client->takeStartingWith(QStringLiteral("SET error")),
             QStringLiteral("SET error: channel.1.freq not stored: incomplete on disk"));
    QCOMPARE(client->takeStartingWith(QStringLiteral("SET error")),
             QStringLiteral("SET error: channel.2.gain not stored: incomplete on disk"));
    QVERIFY(QFileInfo(rig.projectPath).size() > 0);

    // Once written, nothing is reported.
    Settings::setAfterWriteHook({});
    QCOMPARE(client->exchange("SET channel.3.gain -6\r\n"),
             QStringList{"SET ok: channel.3.gain = -6"});
    QVERIFY(rig.store->writeNow());
    QCOMPARE(client->exchange(QByteArray()), QStringList{});
}

void TestFMServerWrites::manyChangesAreNamedUpToABound()
{
    ServerRig rig;
    auto client = rig.client();
    QVERIFY(client);
    rig.quieten(*client);
    QVERIFY(rig.store->writeNow());

    Settings::setAfterWriteHook([](const QString& name) { QFile::resize(name, 0); });
    QByteArray commands;
    for (int n = 1; n <= 70; ++n)
        commands += "SET channel." + QByteArray::number(n) + ".gain -7\r\n";
    QCOMPARE(client->exchange(commands).size(), 70);
    QStringList errors;
    while (errors.size() < 65)
        errors.append(client->takeStartingWith(QStringLiteral("SET error")));
    QCOMPARE(errors.first(),
             QStringLiteral("SET error: channel.1.gain not stored: incomplete on disk"));
    QCOMPARE(errors.at(63),
             QStringLiteral("SET error: channel.64.gain not stored: incomplete on disk"));
    QCOMPARE(errors.at(64),
             QStringLiteral("SET error: 6 more changes not stored: incomplete on disk"));
}

QTEST_GUILESS_MAIN(TestFMServerWrites)
#include "tst_fmserverwrites.moc"
