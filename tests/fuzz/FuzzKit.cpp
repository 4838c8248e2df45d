#include "FuzzKit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Never destroyed: the fuzzer leaves through exit(), after Qt's own globals
// are gone, where the application's destructor would crash.
QCoreApplication* application = nullptr;
std::unique_ptr<QTemporaryDir> privateFolder;
quint64 fileCounter = 0;

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
    privateFolder = std::make_unique<QTemporaryDir>();
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

QString FuzzKit::freshPath(const QString& suffix)
{
    return privateFolder->filePath(QStringLiteral("in%1").arg(++fileCounter) + suffix);
}

QString FuzzKit::write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("fuzz: cannot write %s", qPrintable(path));
    return path;
}

QString FuzzKit::fixture(const QString& area, const QString& name)
{
    return QStringLiteral(FUZZ_SOURCE_ROOT "/tests/") + area + QStringLiteral("/data/") + name;
}

void FuzzKit::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
