#include "app/screens.h"
#include "app/titlefrm.h"
#include "module1/module1.h"
#include "platform/datapaths.h"
#include "platform/desktopshell.h"
#include "platform/fileslot.h"
#include "platform/fonts.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "platform/qtprinttarget.h"
#include "platform/screen.h"
#include "toolkit/firstpaintprobe.h"
#include "toolkit/formregistry.h"
#include "toolkit/windowmanagerhints.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <memory>
#include <optional>

using namespace velmora;

namespace {

bool haveDisplay()
{
    // An explicit platform (offscreen, vnc, ...) needs no display of its own.
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
           || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// The data folder: beside the program in a build tree, or in the installed share
// folder (prefix/bin/velmora and prefix/share/velmora).
QString findDataFolder()
{
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString &candidate :
         {program.filePath(QStringLiteral("data")), program.filePath(QStringLiteral("../share/velmora"))}) {
        if (QDir(candidate).exists(QStringLiteral("Images")))
            return QDir::cleanPath(candidate);
    }
    return {};
}

// Where teachers' worksheets and their list live: the data folder's own "multiple"
// when it can be written, otherwise a folder of the user's, seeded once with the
// supplied list.
QString worksheetFolder(const DataPaths &paths)
{
    const QString supplied =
        paths.existing(QStringLiteral("multiple")).value_or(paths.root() + QStringLiteral("/multiple"));
    if (QFileInfo(supplied).isWritable())
        return supplied;
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/multiple");
    QDir().mkpath(own);
    const QString list = own + QStringLiteral("/track.txt");
    if (!QFileInfo::exists(list)) {
        if (const auto suppliedList = paths.existing(QStringLiteral("multiple/track.txt")))
            QFile::copy(*suppliedList, list);
        QFile::setPermissions(list, QFile::ReadOwner | QFile::WriteOwner);
    }
    return own;
}

} // namespace

int main(int argc, char *argv[])
{
    // Help and version need no display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-v" || arg == "--version" || arg == "--help-all")
            qputenv("QT_QPA_PLATFORM", "minimal");
    }
    if (!haveDisplay()) {
        std::fprintf(stderr, "velmora: no display found; start it from a desktop session (DISPLAY is not set)\n");
        return 2;
    }
    // A display that is named but gone (a closed session, a stale DISPLAY) would make
    // Qt abort; it gets the same one line.
    const QByteArray qpa = qgetenv("QT_QPA_PLATFORM");
    if ((qpa.isEmpty() || qpa.startsWith("xcb")) && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsSet("DISPLAY") && !x11DisplayAnswers()) {
        std::fprintf(stderr,
                     "velmora: no display found; start it from a desktop session (DISPLAY %s does not answer)\n",
                     qgetenv("DISPLAY").constData());
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    // One look on every desktop: the screens set their own colours.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The screens' own light colours, whatever the desktop's dark or light theme says.
    QApplication::setPalette(QApplication::style()->standardPalette());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Velmora: Ardovin Sevrani, a unit for schools."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataOption(QStringLiteral("data"),
                                        QStringLiteral("Read pictures and worksheets from <dir>."),
                                        QStringLiteral("dir"));
    const QCommandLineOption probeOption(QStringLiteral("startup-probe"),
                                         QStringLiteral("Benchmark: print the time from <ns> (epoch nanoseconds) "
                                                        "to the title screen's first paint, then quit."),
                                         QStringLiteral("ns"));
    const QCommandLineOption printToOption(QStringLiteral("print-to"),
                                           QStringLiteral("Print into PDF files in <dir> instead of on the default "
                                                          "printer (for schools without a printer)."),
                                           QStringLiteral("dir"));
    const QCommandLineOption paperOption(QStringLiteral("paper"),
                                         QStringLiteral("Print on <paper>: a4 or letter. Without it the default "
                                                        "printer keeps its own paper, and PDF files use the paper "
                                                        "of your country (Letter in the US and Canada, A4 "
                                                        "elsewhere)."),
                                         QStringLiteral("paper"));
    parser.addOption(dataOption);
    parser.addOption(printToOption);
    parser.addOption(paperOption);
    parser.addOption(probeOption);
    // A bad option is a one-line error and status 2, like a missing data folder.
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "velmora: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    parser.process(app); // --help and --version
    std::optional<QPageSize> paper;
    if (parser.isSet(paperOption)) {
        paper = paperNamed(parser.value(paperOption));
        if (!paper) {
            std::fprintf(stderr, "velmora: unknown paper '%s' (use --paper a4 or --paper letter)\n",
                         qPrintable(parser.value(paperOption)));
            return 2;
        }
    }

    const QString missing = registerScreenFonts();
    if (!missing.isEmpty())
        std::fprintf(stderr, "velmora: no metric-compatible font for %s; text may not fit its boxes\n",
                     qPrintable(missing));
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));

    const QString dataRoot = parser.isSet(dataOption) ? parser.value(dataOption) : findDataFolder();
    if (dataRoot.isEmpty() || !QDir(dataRoot).exists()) {
        std::fprintf(stderr, "velmora: data folder %s not found (use --data DIR)\n",
                     qPrintable(QDir::toNativeSeparators(dataRoot.isEmpty() ? QStringLiteral("data") : dataRoot)));
        return 2;
    }
    DataPaths probe(dataRoot);
    const QString worksheets = worksheetFolder(probe);
    // A save killed at the wrong moment may have left a temporary beside its file.
    // Another copy on a shared folder may be saving at this moment: only old ones go.
    constexpr int kStrayAgeSeconds = 600;
    removeStrayTemporaries(worksheets, kStrayAgeSeconds);

    QtMessageBoxes messages;
    QtDesktopShell shell;
    QtScreen screen;
    auto printTarget = parser.isSet(printToOption) ? std::make_unique<QtPrintTarget>(parser.value(printToOption))
                                                   : std::make_unique<QtPrintTarget>();
    if (paper)
        printTarget->setPaper(*paper);
    Platform platform(dataRoot, messages, shell, screen, *printTarget);
    if (worksheets != probe.existing(QStringLiteral("multiple")).value_or(QString()))
        platform.redirectWorksheets(worksheets);
    FormRegistry forms;
    Module1 m(platform, forms);
    defineScreens(forms, m);
    forms.onEnd = [] { QCoreApplication::exit(0); };

    Titlefrm &title = forms.ref<Titlefrm>();
    if (parser.isSet(probeOption))
        title.installEventFilter(new FirstPaintProbe(parser.value(probeOption).toLongLong(), &app));
    title.showForm();
    return QApplication::exec();
}
