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
#include <cstdlib>
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

// Help and version need no display; importing and exporting from the command line
// print their report, so they need no screen either. Returns whether the screens start.
bool chooseScreenlessPlatform(int argc, char *argv[])
{
    bool screens = true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-v" || arg == "--version" || arg == "--help-all") {
            qputenv("QT_QPA_PLATFORM", "minimal");
            screens = false;
        }
        if (isFileCommand(arg)) {
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "minimal");
            screens = false;
        }
    }
    return screens;
}

// Whether there is a display to start on; when there is none, says so in one line.
bool displayFound()
{
    if (!haveDisplay()) {
        std::fprintf(stderr, "velmora: no display found; start it from a desktop session (DISPLAY is not set)\n");
        return false;
    }
    return true;
}

// A display that is named but gone (a closed session, a stale DISPLAY) makes Qt end the
// program while it connects; while this guard stands, that end becomes the same one line
// and status as no display at all. It costs no connection of its own: a trial
// connection made first would be the X server's only client and, closing, make a bare
// server reset itself before the real one.
class DisplayFailureGuard
{
public:
    DisplayFailureGuard() { s_previous = qInstallMessageHandler(&DisplayFailureGuard::handle); }
    ~DisplayFailureGuard()
    {
        qInstallMessageHandler(s_previous);
        s_refused = false;
    }
    DisplayFailureGuard(const DisplayFailureGuard &) = delete;
    DisplayFailureGuard &operator=(const DisplayFailureGuard &) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtWarningMsg && qstrcmp(context.category, "qt.qpa.xcb") == 0
            && message.startsWith(QLatin1String("could not connect to display"))) {
            s_refused = true;
            return;
        }
        if (s_refused && type != QtFatalMsg)
            return; // what Qt says next of the plugin it could not start
        if (type == QtFatalMsg && s_refused) {
            std::fprintf(stderr,
                         "velmora: no display found; start it from a desktop session (DISPLAY %s does not answer)\n",
                         qgetenv("DISPLAY").constData());
            std::_Exit(2);
        }
        if (s_previous)
            s_previous(type, context, message);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }

    static inline QtMessageHandler s_previous = nullptr;
    static inline bool s_refused = false;
};

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    // One look on every desktop: the screens set their own colours.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The screens' own light colours, whatever the desktop's dark or light theme says.
    QApplication::setPalette(QApplication::style()->standardPalette());
}

// The program's options, each with the words --help shows for it.
struct Options {
    const QCommandLineOption data{QStringLiteral("data"), QStringLiteral("Read pictures and worksheets from <dir>."),
                                  QStringLiteral("dir")};
    const QCommandLineOption printTo{QStringLiteral("print-to"),
                                     QStringLiteral("Print into PDF files in <dir> instead of on the default "
                                                    "printer (for schools without a printer)."),
                                     QStringLiteral("dir")};
    const QCommandLineOption paper{QStringLiteral("paper"),
                                   QStringLiteral("Print on <paper>: a4 or letter. Without it the default "
                                                  "printer keeps its own paper, and PDF files use the paper "
                                                  "of your country (Letter in the US and Canada, A4 "
                                                  "elsewhere)."),
                                   QStringLiteral("paper")};
    const QCommandLineOption
        exportTo{QStringLiteral("export"),
                 QStringLiteral("Write every listed worksheet into <dir>, one file each, named after its title, for a "
                                "learning platform to import; print what was written, then quit."),
                 QStringLiteral("dir")};
    const QCommandLineOption
        exportTitle{QStringLiteral("export-title"),
                    QStringLiteral("With --export or --export-dialog: write only the worksheet titled <title>."),
                    QStringLiteral("title")};
    const QCommandLineOption
        format{QStringLiteral("format"),
               QStringLiteral("With --export or --export-dialog: write <format>, aiken or gift (default gift)."),
               QStringLiteral("format")};
    const QCommandLineOption importFrom{
        QStringLiteral("import"),
        QStringLiteral("Make worksheets from the Aiken or GIFT question file <file> (more files may follow): "
                       "ten multiple-choice questions with four answers make a worksheet titled after the "
                       "file; print what was saved and skipped, then quit."),
        QStringLiteral("file")};
    const QCommandLineOption importDialog{
        QStringLiteral("import-dialog"),
        QStringLiteral("As --import, choosing the files in a dialog; the report is shown in a message box.")};
    const QCommandLineOption exportDialog{
        QStringLiteral("export-dialog"),
        QStringLiteral("As --export, choosing the folder in a dialog; the report is shown in a message box.")};
#ifdef VELMORA_STARTUP_PROBE
    // The start-up benchmark's own build of this program (bench/), never the product.
    const QCommandLineOption probe{QStringLiteral("startup-probe"),
                                   QStringLiteral("Benchmark: print the time from <ns> (epoch nanoseconds) "
                                                  "to the title screen's first paint, then quit."),
                                   QStringLiteral("ns")};
#endif
};

// The program's description and options, in the order --help lists them.
void describeCommandLine(QCommandLineParser &parser, const Options &options)
{
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
    parser.addOption(options.data);
    parser.addOption(options.printTo);
    parser.addOption(options.paper);
    parser.addOption(options.importFrom);
    parser.addOption(options.importDialog);
    parser.addOption(options.exportTo);
    parser.addOption(options.exportDialog);
    parser.addOption(options.exportTitle);
    parser.addOption(options.format);
#ifdef VELMORA_STARTUP_PROBE
    parser.addOption(options.probe);
#endif
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("With --import: more files to import."),
                                 QStringLiteral("[files...]"));
}

// What the command line asks for, once its options are known to go together.
struct Request {
    std::optional<QPageSize> paper;
    QuestionFormat format = kDefaultExportFormat;
    bool importing = false;
    bool exporting = false;
};

// The paper and the format named, and whether worksheets are imported or exported;
// nothing, after a one-line error, when the options do not go together.
std::optional<Request> readRequest(const QCommandLineParser &parser, const Options &options)
{
    Request request;
    if (parser.isSet(options.paper)) {
        request.paper = paperNamed(parser.value(options.paper));
        if (!request.paper) {
            std::fprintf(stderr, "velmora: unknown paper '%s' (use --paper a4 or --paper letter)\n",
                         qPrintable(parser.value(options.paper)));
            return std::nullopt;
        }
    }

    request.importing = parser.isSet(options.importFrom) || parser.isSet(options.importDialog);
    request.exporting = parser.isSet(options.exportTo) || parser.isSet(options.exportDialog);
    if (int(parser.isSet(options.importFrom)) + int(parser.isSet(options.importDialog))
            + int(parser.isSet(options.exportTo)) + int(parser.isSet(options.exportDialog))
        > 1) {
        std::fprintf(stderr, "velmora: use one of --import, --import-dialog, --export and --export-dialog\n");
        return std::nullopt;
    }
    if ((parser.isSet(options.format) || parser.isSet(options.exportTitle)) && !request.exporting) {
        std::fprintf(stderr, "velmora: --format and --export-title go with --export or --export-dialog\n");
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty() && !parser.isSet(options.importFrom)) {
        std::fprintf(stderr, "velmora: unexpected argument '%s' (files to import follow --import)\n",
                     qPrintable(parser.positionalArguments().first()));
        return std::nullopt;
    }
    if (parser.isSet(options.format)) {
        const auto named = formatNamed(parser.value(options.format));
        if (!named) {
            std::fprintf(stderr, "velmora: unknown format '%s' (use --format aiken or --format gift)\n",
                         qPrintable(parser.value(options.format)));
            return std::nullopt;
        }
        request.format = *named;
    }
    return request;
}

// The screens' fonts, which the file commands do without; a missing one is a warning.
void setUpFonts(const Request &request)
{
    const QString missing = request.importing || request.exporting ? QString() : registerScreenFonts();
    if (!missing.isEmpty())
        std::fprintf(stderr, "velmora: no metric-compatible font for %s; text may not fit its boxes\n",
                     qPrintable(missing));
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
}

// The data folder --data names, or the one found beside the program; nothing, after a
// one-line error, when it does not exist.
std::optional<QString> dataFolder(const QCommandLineParser &parser, const Options &options)
{
    const QString dataRoot = parser.isSet(options.data) ? parser.value(options.data) : findDataFolder();
    if (dataRoot.isEmpty() || !QDir(dataRoot).exists()) {
        std::fprintf(stderr, "velmora: data folder %s not found (use --data DIR)\n",
                     qPrintable(QDir::toNativeSeparators(dataRoot.isEmpty() ? QStringLiteral("data") : dataRoot)));
        return std::nullopt;
    }
    return dataRoot;
}

// Printing goes to the default printer, or into PDF files in the folder --print-to
// names; on the paper asked for, if any.
std::unique_ptr<QtPrintTarget> makePrintTarget(const QCommandLineParser &parser, const Options &options,
                                               const Request &request)
{
    auto printTarget = parser.isSet(options.printTo) ? std::make_unique<QtPrintTarget>(parser.value(options.printTo))
                                                     : std::make_unique<QtPrintTarget>();
    if (request.paper)
        printTarget->setPaper(*request.paper);
    return printTarget;
}

// --import, --export and their dialog forms: imports or exports, reports what was done
// (printed, or in a message box after a dialog) and gives the exit status.
int runFileCommand(Module1 &m, QtMessageBoxes &messages, const QCommandLineParser &parser, const Options &options,
                   const Request &request)
{
    const bool dialog = parser.isSet(options.importDialog) || parser.isSet(options.exportDialog);
    ExchangeReport report;
    if (request.importing) {
        const QStringList files =
            dialog ? QFileDialog::getOpenFileNames(nullptr, QStringLiteral("Import worksheets"), QDir::homePath(),
                                                   QStringLiteral("Question files (*.txt *.gift);;All files (*)"))
                   : parser.values(options.importFrom) + parser.positionalArguments();
        if (files.isEmpty())
            return 0; // the dialog was cancelled
        report = importFiles(m, files);
    } else {
        const QString folder =
            dialog
                ? QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Export worksheets into"), QDir::homePath())
                : parser.value(options.exportTo);
        if (folder.isEmpty())
            return 0;
        const std::optional<QString> only = parser.isSet(options.exportTitle)
                                                ? std::optional<QString>(parser.value(options.exportTitle))
                                                : std::nullopt;
        report = exportWorksheets(m, folder, request.format, only);
    }
    if (dialog)
        messages.ok(report.text(), kProductTitle);
    else
        std::printf("%s\n", report.text().toLocal8Bit().constData());
    return report.ok ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool screens = chooseScreenlessPlatform(argc, argv);
    if (!displayFound())
        return 2;
    // The font configuration is read while Qt connects to the display.
    std::optional<FontConfigurationReadAhead> fontConfiguration;
    if (screens)
        fontConfiguration.emplace();

    std::optional<DisplayFailureGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    setUpApplication();

    QCommandLineParser parser;
    const Options options;
    describeCommandLine(parser, options);
    // A bad option is a one-line error and status 2, like a missing data folder.
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "velmora: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    parser.process(app); // --help and --version
    const std::optional<Request> request = readRequest(parser, options);
    if (!request)
        return 2;

    const std::optional<QString> dataRoot = dataFolder(parser, options);
    if (!dataRoot)
        return 2;
    QtMessageBoxes messages;
    QtDesktopShell shell;
    QtScreen screen;
    const std::unique_ptr<QtPrintTarget> printTarget = makePrintTarget(parser, options, *request);
    Platform platform(*dataRoot, messages, shell, screen, *printTarget);
    // The title screen's picture is read and decoded on another core meanwhile, while
    // the fonts and the screens are set up.
    if (!request->importing && !request->exporting)
        platform.pictures().readAhead(Titlefrm::kPicture);
    if (fontConfiguration)
        fontConfiguration->wait();
    setUpFonts(*request);

    DataPaths probe(*dataRoot);
    const QString worksheets = worksheetFolder(probe);
    // A save killed at the wrong moment may have left a temporary beside its file.
    // Another copy on a shared folder may be saving at this moment: only old ones go.
    constexpr int kStrayAgeSeconds = 600;
    removeStrayTemporaries(worksheets, kStrayAgeSeconds);
    if (worksheets != probe.existing(QStringLiteral("multiple")).value_or(QString()))
        platform.redirectWorksheets(worksheets);
    FormRegistry forms;
    Module1 m(platform, forms);

    if (request->importing || request->exporting)
        return runFileCommand(m, messages, parser, options, *request);

    defineScreens(forms, m);
    forms.onEnd = [] { QCoreApplication::exit(0); };

    Titlefrm &title = forms.ref<Titlefrm>();
#ifdef VELMORA_STARTUP_PROBE
    if (parser.isSet(options.probe))
        title.installEventFilter(new FirstPaintProbe(parser.value(options.probe).toLongLong(), &app));
#endif
    title.showForm();
    return QApplication::exec();
}
