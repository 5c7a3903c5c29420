#include "app/screens.h"
#include "app/titlefrm.h"
#include "module1/module1.h"
#include "platform/desktopshell.h"
#include "platform/fonts.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "platform/qtprinttarget.h"
#include "platform/screen.h"
#include "toolkit/firstpaintprobe.h"
#include "toolkit/formregistry.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFont>
#include <QStyleFactory>

#include <cstdio>
#include <memory>

using namespace velmora;

namespace {

bool haveDisplay()
{
    // An explicit platform (offscreen, vnc, ...) needs no display of its own.
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
           || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!haveDisplay()) {
        std::fprintf(stderr, "velmora: no display found; start it from a desktop session (DISPLAY is not set)\n");
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    // One look on every desktop: the screens set their own colours.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

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
    parser.addOption(dataOption);
    parser.addOption(printToOption);
    parser.addOption(probeOption);
    parser.process(app);

    const QString missing = registerScreenFonts();
    if (!missing.isEmpty())
        std::fprintf(stderr, "velmora: no metric-compatible font for %s; text may not fit its boxes\n",
                     qPrintable(missing));
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));

    const QString dataRoot = parser.isSet(dataOption)
                                 ? parser.value(dataOption)
                                 : QCoreApplication::applicationDirPath() + QStringLiteral("/data");
    if (!QDir(dataRoot).exists()) {
        std::fprintf(stderr, "velmora: data folder %s not found\n", qPrintable(QDir::toNativeSeparators(dataRoot)));
        return 2;
    }

    // A save killed at the wrong moment may have left a temporary beside its file.
    if (const auto multiple = DataPaths(dataRoot).existing(QStringLiteral("multiple")))
        removeStrayTemporaries(*multiple);

    QtMessageBoxes messages;
    QtDesktopShell shell;
    QtScreen screen;
    auto printTarget = parser.isSet(printToOption) ? std::make_unique<QtPrintTarget>(parser.value(printToOption))
                                                   : std::make_unique<QtPrintTarget>();
    Platform platform(dataRoot, messages, shell, screen, *printTarget);
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
