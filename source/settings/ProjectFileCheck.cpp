#include "settings/ProjectFileCheck.h"

#include <QFile>
#include <QStringDecoder>

#include <array>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Verdict = ProjectFileCheck::Verdict;
using Result = ProjectFileCheck::Result;

// Group kinds of a project; their numbers are the reader's business.
constexpr std::array kNumberedGroups{"channel.", "audio.", "playlist.", "rds.", "tmc.", "events."};
const QString kBoardGroup = QStringLiteral("board");
// The board group is also a group of the application ini; a project's holds
// only these keys.
constexpr std::array kBoardKeys{"band", "attn", "gmin", "rand"};

bool isBoardKey(QStringView key)
{
    for (const char* known : kBoardKeys) {
        if (key.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Far more than a project of every channel with thousands of RDS sources.
constexpr qint64 kMaxProjectBytes = qint64(1) << 30;
constexpr qint64 kProbeBytes = 64 * 1024;

// Values in these forms are handed to QDataStream when the ini is read; a
// crafted one can make the reader fail or allocate without bound.
constexpr std::array kStreamedForms{"@Variant(", "@DateTime("};

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Splits a value as the ini reader does before it decodes each element:
// at commas outside double quotes, with \xHHHH and other backslash escapes
// resolved, so an escaped '@' or a quoted element is seen as the reader
// sees it.
QStringList elementsOf(QStringView value)
{
    QStringList elements{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(',') && !quoted) {
            elements.append(QString());
            while (i + 1 < value.size() && value[i + 1].isSpace())
                ++i;
        } else if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            ++i;
            if (value[i] != QLatin1Char('x')) {
                elements.last().append(value[i]);
                continue;
            }
            char16_t code = 0;
            for (int digits = 0; digits < 4 && i + 1 < value.size(); ++digits) {
                const int digit = hexDigit(value[i + 1]);
                if (digit < 0)
                    break;
                code = char16_t(code * 16 + digit);
                ++i;
            }
            elements.last().append(QChar(code));
        } else {
            elements.last().append(c);
        }
    }
    return elements;
}

bool holdsStreamedValue(QStringView value)
{
    const QStringList elements = elementsOf(value.trimmed());
    for (const QString& element : elements) {
        for (const char* form : kStreamedForms) {
            if (element.startsWith(QLatin1String(form)))
                return true;
        }
    }
    return false;
}

// Text a project can hold: UTF-8 without control characters other than
// tab and line ends.
bool hasControlBytes(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return true;
    }
    return false;
}

bool isText(const QByteArray& content)
{
    if (hasControlBytes(content))
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString decoded = utf8(content);
    return !utf8.hasError();
}

Result refused(Verdict verdict, int line = 0)
{
    return {verdict, line};
}

} // namespace

bool ProjectFileCheck::isProjectGroup(const QString& group)
{
    const QString name = group.toLower();
    if (name == kBoardGroup)
        return true;
    for (const char* kind : kNumberedGroups) {
        if (name.startsWith(QLatin1String(kind)))
            return true;
    }
    return false;
}

ProjectFileCheck::Result ProjectFileCheck::check(const QByteArray& content)
{
    if (!isText(content))
        return refused(Verdict::NotText);
    const QString text = QString::fromUtf8(content);
    bool inProjectGroup = false;
    bool inBoardGroup = false;
    int number = 0;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        ++number;
        line = line.trimmed();
        if (number == 1 && line.startsWith(QChar(0xfeff)))
            line = line.mid(1).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return refused(Verdict::NotProject, number);
            const QString group = line.mid(1, line.size() - 2).trimmed().toString();
            inProjectGroup = isProjectGroup(group);
            inBoardGroup = group.compare(kBoardGroup, Qt::CaseInsensitive) == 0;
            if (!inProjectGroup)
                return refused(Verdict::NotProject, number);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QStringView key = line.left(equals).trimmed();
        if (!inProjectGroup || equals <= 0 || key.isEmpty() || (inBoardGroup && !isBoardKey(key)))
            return refused(Verdict::NotProject, number);
        if (holdsStreamedValue(line.mid(equals + 1)))
            return refused(Verdict::StoredObject, number);
    }
    return {};
}

ProjectFileCheck::Result ProjectFileCheck::read(const QString& path, QByteArray& content)
{
    content.clear();
    if (path.isEmpty())
        return refused(Verdict::Missing);
    // Opened without blocking, so a FIFO with no writer cannot hang the
    // caller; the type is then taken from the open file itself.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refused(errno == ENOENT || errno == ENOTDIR ? Verdict::Missing
                                                           : Verdict::Unreadable);
    struct stat status = {};
    if (::fstat(fd, &status) != 0) {
        ::close(fd);
        return refused(Verdict::Unreadable);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return refused(S_ISDIR(status.st_mode) ? Verdict::Folder : Verdict::NotRegularFile);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refused(Verdict::Unreadable);
    }
    // A song or a video is told by its first bytes, not read whole; a text
    // far larger than any project is not read at all.
    if (status.st_size > kMaxProjectBytes)
        return refused(Verdict::NotProject);
    content = file.read(kProbeBytes);
    if (hasControlBytes(content))
        return refused(Verdict::NotText);
    content += file.readAll();
    if (file.error() != QFileDevice::NoError) {
        content.clear();
        return refused(Verdict::Unreadable);
    }
    return check(content);
}

const char* ProjectFileCheck::describe(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Project:
        return "project";
    case Verdict::Missing:
        return "no such file";
    case Verdict::Folder:
        return "a folder";
    case Verdict::NotRegularFile:
        return "not a regular file";
    case Verdict::Unreadable:
        return "cannot be read";
    case Verdict::NotText:
        return "not text";
    case Verdict::NotProject:
        return "not a project";
    case Verdict::StoredObject:
        return "holds a stored object";
    }
    return "unknown";
}
