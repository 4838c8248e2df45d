#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>

// Records the program's debug lines that begin with a prefix, with the
// moment each was written, while it exists; every line still reaches the
// previous handler. One capture at a time.
class LogCapture
{
public:
    struct Line
    {
        qint64 ns = 0; // since the capture started
        QString text;
    };

    explicit LogCapture(const QString& prefix)
    {
        QMutexLocker lock(&state().mutex);
        state().prefix = prefix;
        state().lines.clear();
        state().clock.start();
        state().previous = qInstallMessageHandler(&LogCapture::handle);
    }

    ~LogCapture()
    {
        QMutexLocker lock(&state().mutex);
        qInstallMessageHandler(state().previous);
        state().previous = nullptr;
    }

    QList<Line> lines() const
    {
        QMutexLocker lock(&state().mutex);
        return state().lines;
    }

    // The texts of the lines that begin with start.
    QStringList texts(const QString& start = QString()) const
    {
        QStringList found;
        for (const Line& line : lines()) {
            if (line.text.startsWith(start))
                found.append(line.text);
        }
        return found;
    }

    void clear()
    {
        QMutexLocker lock(&state().mutex);
        state().lines.clear();
    }

private:
    struct State
    {
        QMutex mutex;
        QString prefix;
        QList<Line> lines;
        QElapsedTimer clock;
        QtMessageHandler previous = nullptr;
    };

    static State& state()
    {
        static State shared;
        return shared;
    }

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        QtMessageHandler previous = nullptr;
        {
            QMutexLocker lock(&state().mutex);
            if (text.startsWith(state().prefix))
                state().lines.append({state().clock.nsecsElapsed(), text});
            previous = state().previous;
        }
        if (previous)
            previous(type, context, text);
    }
};
