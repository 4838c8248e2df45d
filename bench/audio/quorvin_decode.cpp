// quorvin_decode FILE: decodes FILE with the decoders of the decode thread,
// in steps of one PCM buffer as the thread takes them, and writes the 16-bit
// PCM to standard output. A process of its own, so the decode benchmark can
// time it exactly as it times `flac -d`, `oggdec` or `lame --decode`.
#include "audio/DecoderSet.h"
#include "audio/PcmBuffer.h"

#include <QCoreApplication>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

bool writeAll(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: quorvin_decode FILE > PCM\n");
        return 2;
    }
    // The decoders log every open; like the reference tools run quietly.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    DecoderSet decoders;
    SongInfo song;
    song.path = app.arguments().at(1);
    if (!openDecoder(decoders, song)) {
        std::fprintf(stderr, "cannot decode %s\n", qPrintable(song.path));
        return 1;
    }
    std::vector<char> buffer(PcmBuffer::kBytes);
    bool end = false;
    qint64 total = 0;
    while (!end) {
        const qint32 bytes = decoders.decode(song.kind, buffer.data(), PcmBuffer::kBytes, end);
        if (!writeAll(buffer.data(), bytes))
            return 1;
        total += bytes;
    }
    return total > 0 ? 0 : 1;
}
