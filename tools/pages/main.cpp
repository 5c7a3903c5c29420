// velmora-pages: draws the reading pages (key facts, teacher's notes, acknowledgments and
// the teachers' guide) from tools/pages/text/*.txt as metafiles, in a screen version
// (data/wmf) and a print version (data/wmf2).
//   velmora-pages TEXT_DIR DATA_DIR
#include "pagelayout.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

using namespace velmora::pages;

namespace {

// The viewer shows the page at (120, 0) above its buttons; the acknowledgments leave
// room on the right for the publisher's logo and bitmap.
constexpr QSize kScreen(10440, 7800);
constexpr QSize kScreenNarrow(8280, 7800);
// Drawn at (1000, 1000) twips on the printable area of A4 and of Letter paper.
constexpr QSize kPrint(9800, 13600);

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmora-pages TEXT_DIR DATA_DIR\n");
        return 2;
    }
    const QDir text(QString::fromLocal8Bit(argv[1]));
    const QDir data(QString::fromLocal8Bit(argv[2]));
    data.mkpath(QStringLiteral("wmf"));
    data.mkpath(QStringLiteral("wmf2"));
    int failures = 0;
    for (const QString &name : text.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QFile source(text.filePath(name));
        if (!source.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "velmora-pages: cannot read %s\n", qPrintable(name));
            ++failures;
            continue;
        }
        const PageText page = parsePage(QString::fromUtf8(source.readAll()));
        const QString base = name.chopped(4) + QStringLiteral(".wmf");
        const bool narrow = base == QLatin1String("acknowledgments.wmf");
        QStringList problems;
        const QByteArray screen = renderPage(page, {narrow ? kScreenNarrow : kScreen, true, 22, 15, 13}, problems);
        const QByteArray print = renderPage(page, {kPrint, false, 24, 15, 12}, problems);
        for (const QString &problem : problems)
            std::fprintf(stderr, "velmora-pages: %s: %s\n", qPrintable(name), qPrintable(problem));
        failures += problems.size();
        if (!write(data.filePath(QStringLiteral("wmf/") + base), screen)
            || !write(data.filePath(QStringLiteral("wmf2/") + base), print)) {
            std::fprintf(stderr, "velmora-pages: cannot write %s\n", qPrintable(base));
            ++failures;
            continue;
        }
        std::printf("wmf/%s (%lld bytes), wmf2/%s (%lld bytes)\n", qPrintable(base), qlonglong(screen.size()),
                    qPrintable(base), qlonglong(print.size()));
    }
    return failures == 0 ? 0 : 1;
}
