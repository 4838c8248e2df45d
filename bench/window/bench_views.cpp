// bench_views [FILES] [EVENTS]: what two of the window's views cost on the
// GUI thread, against the goals they have.
// - The audio page with a playlist that grows by FILES files at once (5,000
//   by default), then loses its first file: the GUI thread's time until the
//   page has drawn the change (goal: under 0.3 s each).
// - The timeline with a roll of EVENTS events (10,000 by default) played for
//   3 s on the real clock: the 20 ms ticks that ran against those due (goal:
//   at least 95 %).
// Runs offscreen unless a platform is set.
#include "channels/FMAudio.h"
#include "dynamic/Event.h"
#include "dynamic/timeline/Dynamic.h"
#include "settings/FMSettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr double kPlaylistGoalS = 0.3;
constexpr double kTickGoal = 0.95;
constexpr int kPlayMs = 3000;

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Runs the event loop until nothing is left to do.
void settle()
{
    for (int pass = 0; pass < 5; ++pass)
        QApplication::processEvents(QEventLoop::AllEvents);
}

struct Measure
{
    double wall = 0;
    double cpu = 0;
};

template <typename Action> Measure measure(Action action)
{
    QElapsedTimer wall;
    wall.start();
    const double cpu = threadCpuSeconds();
    action();
    settle();
    return {double(wall.nsecsElapsed()) / 1e9, threadCpuSeconds() - cpu};
}

void print(const char* what, const Measure& m, double goal)
{
    std::printf("%-40s %7.3f s GUI CPU, %7.3f s wall (goal < %.1f s: %s)\n", what, m.cpu, m.wall,
                goal, m.wall < goal ? "met" : "missed");
}

void playlist(const QString& folder, int files)
{
    auto store = QSharedPointer<FMSettings>::create(folder + QStringLiteral("/playlist.fm"));
    FMAudio page;
    page.resize(1000, 700);
    page.show();
    page.attach(store);
    settle();
    QStringList paths;
    for (int n = 0; n < files; ++n)
        paths.append(QStringLiteral("/music/song%1.flac").arg(n, 5, 10, QLatin1Char('0')));
    const Measure added = measure([&] { store->addPlaylistFiles(1, -1, paths); });
    print(qPrintable(QStringLiteral("playlist: add %1 files").arg(files)), added, kPlaylistGoalS);
    const Measure removed =
        measure([&] { store->removePlaylistFiles(1, store->playlist(1).mid(1)); });
    print("playlist: delete the first file", removed, kPlaylistGoalS);
}

void timeline(const QString& folder, int count)
{
    auto store = QSharedPointer<FMSettings>::create(folder + QStringLiteral("/roll.fm"));
    QList<Event> roll;
    const int spanMs = 60000;
    for (int n = 0; n < count; ++n) {
        Event event(quint32(qint64(n) * spanMs / count),
                    QStringLiteral("channel.%1.gain %2").arg(n % 24 + 1).arg(-(n % 20)));
        event.classify();
        roll.append(event);
    }
    store->setRoll(QStringLiteral("events.1"), roll, {}, false);
    Dynamic view;
    view.resize(1200, 600);
    view.show();
    view.setSettings(store);
    view.loadRoll();
    settle();
    int ticks = 0;
    QObject::connect(&view, &Dynamic::msTime, [&ticks] { ++ticks; });
    struct PaintCount : QObject
    {
        int paints = 0;
        qint64 pixels = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                ++paints;
                for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                    pixels += qint64(r.width()) * r.height();
            }
            return false;
        }
    } painted;
    view.installEventFilter(&painted);
    QElapsedTimer wall;
    wall.start();
    const double cpu = threadCpuSeconds();
    view.onPlay();
    QTimer::singleShot(kPlayMs, qApp, &QApplication::quit);
    QApplication::exec();
    const double elapsed = double(wall.elapsed());
    const double due = elapsed / Dynamic::kTickMs;
    const double share = ticks / due;
    std::printf("timeline: %d events, %d of %.0f ticks ran (%.1f %%, goal >= %.0f %%: %s), "
                "%.3f s GUI CPU in %.3f s\n",
                count, ticks, due, 100 * share, 100 * kTickGoal,
                share >= kTickGoal ? "met" : "missed", threadCpuSeconds() - cpu, elapsed / 1000);
    std::printf("timeline: %d paints, on average %.1f %% of the view each\n", painted.paints,
                painted.paints ? 100.0 * double(painted.pixels) / painted.paints /
                                     (double(view.width()) * view.height())
                               : 0.0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    const int files = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int events = argc > 2 ? std::atoi(argv[2]) : 10000;
    QTemporaryDir folder;
    playlist(folder.path(), files);
    timeline(folder.path(), events);
    return 0;
}
