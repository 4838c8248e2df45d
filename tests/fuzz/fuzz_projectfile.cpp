// A project file (*.fm) from outside: the store reads it whole on opening,
// converts an older layout, and then every record and key must read back.
#include "FuzzKit.h"

#include "settings/FMSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzKit::inputFile(QStringLiteral("input.fm"), FuzzKit::bytes(data, size));
    {
        FMSettings store(path);
        store.audioSources();
        store.playlists();
        store.rdsSources();
        store.tmcSources();
        store.audioSourceNames();
        store.rdsSourceNames();
        store.tmcSourceNames();
        for (int channel : {1, 2, 96})
            store.channel(channel);
        QSet<int> expanded;
        bool repeat = false;
        store.events(QStringLiteral("events.1"), expanded, repeat);
        // What "GET *" of the control server reads: every key the file holds.
        for (const QString& key : store.knownKeys(QString())) {
            store.get(key);
            for (const QString& inner : store.knownKeys(key))
                store.get(inner);
        }
        FuzzKit::settle();
    }
    FuzzKit::endInput();
    return 0;
}
