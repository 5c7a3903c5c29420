#include "app/screens.h"
#include "app/titlefrm.h"
#include "exchange/exchange.h"
#include "module1/module1.h"
#include "module1/publisher.h"
#include "platform/datapaths.h"
#include "platform/desktopshell.h"
#include "platform/fileslot.h"
#include "platform/fonts.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "platform/qtprinttarget.h"
#include "platform/screen.h"
#include "toolkit/formregistry.h"
#include "toolkit/windowmanagerhints.h"

#ifdef VELMORA_STARTUP_PROBE
#include "firstpaintprobe.h"
#endif

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileDialog>
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
    QString supplied = paths.existing(QStringLiteral("multiple")).value_or(paths.root() + QStringLiteral("/multiple"));
    if (QFileInfo(supplied).isWritable())
        return supplied;
    QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/multiple");
    QDir().mkpath(own);
    const QString list = own + QStringLiteral("/track.txt");
    if (!QFileInfo::exists(list)) {
        if (const auto suppliedList = paths.existing(QStringLiteral("multiple/track.txt")))
            QFile::copy(*suppliedList, list);
        QFile::setPermissions(list, QFile::ReadOwner | QFile::WriteOwner);
    }
    return own;
}

// Options that work on worksheet files and need no screen.
bool isFileCommand(const QByteArray &arg)
{
    return arg == "--import" || arg.startsWith("--import=") || arg == "--export" || arg.startsWith("--export=");
}

std::optional<QuestionFormat> formatNamed(const QString &name)
{
    if (name.compare(QLatin1String("aiken"), Qt::CaseInsensitive) == 0)
        return QuestionFormat::Aiken;
    if (name.compare(QLatin1String("gift"), Qt::CaseInsensitive) == 0)
        return QuestionFormat::Gift;
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    // Help and version need no display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-v" || arg == "--version" || arg == "--help-all")
            qputenv("QT_QPA_PLATFORM", "minimal");
        // Importing and exporting from the command line print their report: no screen.
        if (isFileCommand(arg) && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
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
    parser.setApplicationDescription(
        QStringLiteral("Velmora: Ardovin Sevrani, a unit for schools.\n\n"
                       "Worksheets travel to and from a learning platform as Aiken or GIFT question files: from a "
                       "terminal with --export DIR and --import FILE..., which print what they did; or from the "
                       "desktop menu entry's actions \"Import worksheets\u2026\" and \"Export worksheets\u2026\" "
                       "(--import-dialog, --export-dialog), which choose the files or folder in a dialog and show "
                       "the report in a message box. Imported worksheets never replace a worksheet of the same "
                       "title."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataOption(QStringLiteral("data"),
                                        QStringLiteral("Read pictures and worksheets from <dir>."),
                                        QStringLiteral("dir"));
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
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QStringLiteral("Write every listed worksheet into <dir>, one file each, named after its title, for a "
                       "learning platform to import; print what was written, then quit."),
        QStringLiteral("dir"));
    const QCommandLineOption
        exportTitleOption(QStringLiteral("export-title"),
                          QStringLiteral("With --export or --export-dialog: write only the worksheet titled <title>."),
                          QStringLiteral("title"));
    const QCommandLineOption
        formatOption(QStringLiteral("format"),
                     QStringLiteral("With --export or --export-dialog: write <format>, aiken or gift (default gift)."),
                     QStringLiteral("format"));
    const QCommandLineOption importOption(
        QStringLiteral("import"),
        QStringLiteral("Make worksheets from the Aiken or GIFT question file <file> (more files may follow): "
                       "ten multiple-choice questions with four answers make a worksheet titled after the "
                       "file; print what was saved and skipped, then quit."),
        QStringLiteral("file"));
    const QCommandLineOption importDialogOption(
        QStringLiteral("import-dialog"),
        QStringLiteral("As --import, choosing the files in a dialog; the report is shown in a message box."));
    const QCommandLineOption exportDialogOption(
        QStringLiteral("export-dialog"),
        QStringLiteral("As --export, choosing the folder in a dialog; the report is shown in a message box."));
    parser.addOption(dataOption);
    parser.addOption(printToOption);
    parser.addOption(paperOption);
    parser.addOption(importOption);
    parser.addOption(importDialogOption);
    parser.addOption(exportOption);
    parser.addOption(exportDialogOption);
    parser.addOption(exportTitleOption);
    parser.addOption(formatOption);
#ifdef VELMORA_STARTUP_PROBE
    // The start-up benchmark's own build of this program (bench/), never the product.
    const QCommandLineOption probeOption(QStringLiteral("startup-probe"),
                                         QStringLiteral("Benchmark: print the time from <ns> (epoch nanoseconds) "
                                                        "to the title screen's first paint, then quit."),
                                         QStringLiteral("ns"));
    parser.addOption(probeOption);
#endif
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("With --import: more files to import."),
                                 QStringLiteral("[files...]"));
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

    const bool importing = parser.isSet(importOption) || parser.isSet(importDialogOption);
    const bool exporting = parser.isSet(exportOption) || parser.isSet(exportDialogOption);
    if (int(parser.isSet(importOption)) + int(parser.isSet(importDialogOption)) + int(parser.isSet(exportOption))
            + int(parser.isSet(exportDialogOption))
        > 1) {
        std::fprintf(stderr, "velmora: use one of --import, --import-dialog, --export and --export-dialog\n");
        return 2;
    }
    if ((parser.isSet(formatOption) || parser.isSet(exportTitleOption)) && !exporting) {
        std::fprintf(stderr, "velmora: --format and --export-title go with --export or --export-dialog\n");
        return 2;
    }
    if (!parser.positionalArguments().isEmpty() && !parser.isSet(importOption)) {
        std::fprintf(stderr, "velmora: unexpected argument '%s' (files to import follow --import)\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }
    QuestionFormat format = kDefaultExportFormat;
    if (parser.isSet(formatOption)) {
        const auto named = formatNamed(parser.value(formatOption));
        if (!named) {
            std::fprintf(stderr, "velmora: unknown format '%s' (use --format aiken or --format gift)\n",
                         qPrintable(parser.value(formatOption)));
            return 2;
        }
        format = *named;
    }

    const QString missing = importing || exporting ? QString() : registerScreenFonts();
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

    if (importing || exporting) {
        const bool dialog = parser.isSet(importDialogOption) || parser.isSet(exportDialogOption);
        ExchangeReport report;
        if (importing) {
            const QStringList files =
                dialog ? QFileDialog::getOpenFileNames(nullptr, QStringLiteral("Import worksheets"), QDir::homePath(),
                                                       QStringLiteral("Question files (*.txt *.gift);;All files (*)"))
                       : parser.values(importOption) + parser.positionalArguments();
            if (files.isEmpty())
                return 0; // the dialog was cancelled
            report = importFiles(m, files);
        } else {
            const QString folder =
                dialog ? QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Export worksheets into"),
                                                           QDir::homePath())
                       : parser.value(exportOption);
            if (folder.isEmpty())
                return 0;
            const std::optional<QString> only = parser.isSet(exportTitleOption)
                                                    ? std::optional<QString>(parser.value(exportTitleOption))
                                                    : std::nullopt;
            report = exportWorksheets(m, folder, format, only);
        }
        if (dialog)
            messages.ok(report.text(), kProductTitle);
        else
            std::printf("%s\n", report.text().toLocal8Bit().constData());
        return report.ok ? 0 : 1;
    }

    defineScreens(forms, m);
    forms.onEnd = [] { QCoreApplication::exit(0); };

    Titlefrm &title = forms.ref<Titlefrm>();
#ifdef VELMORA_STARTUP_PROBE
    if (parser.isSet(probeOption))
        title.installEventFilter(new FirstPaintProbe(parser.value(probeOption).toLongLong(), &app));
#endif
    title.showForm();
    return QApplication::exec();
}
