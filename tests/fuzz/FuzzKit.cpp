#include "FuzzKit.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Never destroyed: the fuzzer leaves through exit(), after Qt's own globals
// are gone, where the application's destructor would crash.
QCoreApplication* application = nullptr;
std::unique_ptr<QTemporaryDir> privateFolder;
qint64 fileStamp = 0;

void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg)
        return;
    fprintf(stderr, "%s\n", qPrintable(message));
    abort();
}

} // namespace

void FuzzKit::init()
{
    if (application)
        return;
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    application = new QCoreApplication(argc, argv);
    // The control server keeps its settings folder below HOME; keep it in the
    // private folder instead of the user's.
    // The store writes its file with a sync to disk on every save; in
    // memory that costs nothing, on a busy disk it costs most of the run.
    const QString memory = QStringLiteral("/dev/shm");
    privateFolder = QFileInfo(memory).isWritable()
                        ? std::make_unique<QTemporaryDir>(memory + QStringLiteral("/fuzz-XXXXXX"))
                        : std::make_unique<QTemporaryDir>();
    if (!privateFolder->isValid())
        qFatal("fuzz: no temporary folder");
    qputenv("HOME", QFile::encodeName(privateFolder->path()));
    if (qEnvironmentVariableIntValue("FUZZ_LOG") == 0)
        qInstallMessageHandler(quietHandler);
}

QByteArray FuzzKit::bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QString FuzzKit::folder()
{
    return privateFolder->path();
}

QString FuzzKit::inputFile(const QString& name, const QByteArray& bytes)
{
    static const QDateTime kFirstStamp(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    const QString path = privateFolder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() ||
        !file.setFileTime(kFirstStamp.addSecs(++fileStamp), QFileDevice::FileModificationTime))
        qFatal("fuzz: cannot write %s", qPrintable(path));
    return path;
}

QString FuzzKit::projectFile()
{
    static const QByteArray kProject =
        fixture(QStringLiteral("settings"), QStringLiteral("current.fm"));
    return inputFile(QStringLiteral("input.fm"), kProject);
}

QByteArray FuzzKit::fixture(const QString& area, const QString& name)
{
    QFile file(QStringLiteral(FUZZ_SOURCE_ROOT "/tests/") + area + QStringLiteral("/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fuzz: no fixture %s", qPrintable(file.fileName()));
    return file.readAll();
}

void FuzzKit::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void FuzzKit::endInput()
{
    settle();
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher)
        return;
    const QObjectList timers = dispatcher->children();
    for (QObject* timer : timers) {
        if (qstrcmp(timer->metaObject()->className(), "QSingleShotTimer") == 0)
            delete timer;
    }
}

QList<QByteArray> FuzzKit::lines(const QByteArray& bytes)
{
    QList<QByteArray> result;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\n' && bytes[i] != '\r' && bytes[i] != '\0')
            continue;
        if (i > start)
            result.append(bytes.mid(start, i - start));
        start = i + 1;
    }
    return result;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzKit::init();
    return 0;
}
