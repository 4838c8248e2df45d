// bench_project_load [SOURCES]: writes projects of SOURCES/4, SOURCES/2 and
// SOURCES RDS sources (default 40,000) into a temporary folder and times
// opening each one as the program does (the store reads the whole file).
// Every source has a name, PS, PI, RadioText, an AF list and one EON entry
// naming one of the 96 channels, each of which sends one of the sources, so
// the EON entries are brought in line with the sources they name. Time per
// source stays flat when opening grows linearly with the project.
#include "settings/FMSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int kDefaultSources = 40000;
constexpr int kChannels = 96;

bool writeProject(const QString& path, int sources)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = "[board]\ngmin=1\nband=0\nattn=0\n\n";
    for (int c = 1; c <= kChannels; ++c)
        text += QStringLiteral("[channel.%1]\nused=1\nidrds=%2\n\n").arg(c).arg(c).toUtf8();
    for (int n = 1; n <= sources; ++n) {
        text += QStringLiteral("[rds.%1]\nname=Source %1\nps=RDS%2\npi=%3\npty=%4\n"
                               "rta=Now on source %1\nafs=876 958 1012\n"
                               "eon\\0=%5 d3%6 3 1 0 0\n\n")
                    .arg(n)
                    .arg(n % 100000)
                    .arg(0xd000 + n % 0x1000, 0, 16)
                    .arg(n % 32)
                    .arg(n % kChannels + 1)
                    .arg(n % 256, 2, 16, QLatin1Char('0'))
                    .toUtf8();
    }
    return file.write(text) == text.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int sources = argc > 1 ? std::max(4, std::atoi(argv[1])) : kDefaultSources;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    FMSettings::defineKeys();
    std::printf("%10s %12s %14s\n", "sources", "open [ms]", "per source [us]");
    for (const int count : {sources / 4, sources / 2, sources}) {
        const QString path = dir.filePath(QStringLiteral("p%1.fm").arg(count));
        if (!writeProject(path, count))
            return 1;
        QElapsedTimer clock;
        clock.start();
        auto store = std::make_unique<FMSettings>(path);
        const qint64 ns = clock.nsecsElapsed();
        if (store->rdsSources().size() != count)
            return 1;
        std::printf("%10d %12.0f %14.1f\n", count, ns / 1e6, ns / 1e3 / count);
    }
    return 0;
}
