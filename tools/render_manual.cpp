// Renders one Markdown manual to PDF at build time:
//   render_manual <manual.md> <manual.pdf> [title]
// Runs on the offscreen platform, so a build machine needs no display.
#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

constexpr int kResolutionDpi = 300;
constexpr qreal kMarginMm = 20;

int fail(const char* what, const char* path)
{
    std::fprintf(stderr, "render_manual: %s %s\n", what, path);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_manual <manual.md> <manual.pdf> [title]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QFile input(QString::fromLocal8Bit(argv[1]));
    if (!input.open(QIODevice::ReadOnly))
        return fail("cannot read", argv[1]);
    QTextDocument manual;
    manual.setMarkdown(QString::fromUtf8(input.readAll()));

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setResolution(kResolutionDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                          QPageLayout::Millimeter);
    writer.setCreator(QStringLiteral("Quorvin render_manual"));
    if (argc > 3)
        writer.setTitle(QString::fromUtf8(argv[3]));
    manual.print(&writer);
    QFile output(QString::fromLocal8Bit(argv[2]));
    if (!output.exists() || output.size() == 0)
        return fail("cannot write", argv[2]);
    return 0;
}
