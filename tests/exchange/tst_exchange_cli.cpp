// The program's own command line for importing and exporting, and the desktop entry's
// actions that start it.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kFixture = QStringLiteral(VELMORA_SOURCE_TESTDATA "/exchange/Science quiz.gift");

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run velmora(const QStringList &arguments, const QString &folder = QString())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VELMORA_PROGRAM), arguments);
    if (!process.waitForFinished(60000))
        return {}; // the process is killed with its QProcess
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

class TestExchangeCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usageErrors_data()
    {
        QTest::addColumn<QString>("arguments"); // separated by blanks
        QTest::addColumn<QString>("message");
        QTest::newRow("import and export") << "--import a.gift --export out" << u"use one of --import"_s;
        QTest::newRow("format alone") << "--format aiken" << u"--format and --export-title go with --export"_s;
        QTest::newRow("export title alone") << "--export-title x" << u"--format and --export-title go with --export"_s;
        QTest::newRow("unknown format") << "--export out --format qti" << u"unknown format 'qti'"_s;
        QTest::newRow("a file without --import") << "quiz.gift" << u"unexpected argument 'quiz.gift'"_s;
    }

    void usageErrors()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        const Run run = velmora(arguments.split(u' '));
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }

    void desktopActionsUseTheProgramsOptions()
    {
        // Each action of the desktop entry starts the program with an option its help names.
        const Run help = velmora({u"--help"_s});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("--print-to <dir>"_L1)); // the one option no test starts the program with
        QFile entry(QStringLiteral(VELMORA_SOURCE_DIR "/packaging/velmora.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        static const QRegularExpression actions(u"^Actions=(.*)$"_s, QRegularExpression::MultilineOption);
        QStringList names;
        for (const QString &id : actions.match(text).captured(1).split(u';', Qt::SkipEmptyParts)) {
            const QString section = text.section(u"[Desktop Action %1]"_s.arg(id), 1).section(u"\n\n"_s, 0, 0);
            names << section.section(u"\nName="_s, 1).section(u'\n', 0, 0);
            const QString exec = section.section(u"\nExec="_s, 1).section(u'\n', 0, 0);
            QVERIFY2(exec.startsWith("velmora --"_L1) && help.out.contains(exec.mid(8)), qPrintable(exec));
        }
        QCOMPARE(names, (QStringList{u"Import worksheets…"_s, u"Export worksheets…"_s}));
    }

    void importThenExport()
    {
        // A data folder with the supplied worksheet folder only: the file commands need no
        // pictures.
        QTemporaryDir dir;
        const QString worksheets = dir.filePath(u"data/multiple/"_s);
        QDir().mkpath(worksheets);
        for (const QString &name : {u"track.txt"_s, u"Ardovin Sevrani.txt"_s})
            QFile::copy(QStringLiteral(VELMORA_SOURCE_DATA "/multiple/") + name, worksheets + name);
        const QStringList data{u"--data"_s, dir.filePath(u"data"_s)};
        Run run = velmora(data + QStringList{u"--import"_s, kFixture});
        QCOMPARE(run.status, 0);
        // The same file again: both titles are taken, nothing is replaced, the exit status
        // says that not everything was done, and the report says why.
        run = velmora(data + QStringList{u"--import"_s, kFixture});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains("exists already"_L1), qPrintable(run.out));
        // Into folders named from where the program was started: the default format,
        // Aiken, and one title.
        const QList<std::pair<QStringList, QStringList>> exports{{{u"gift"_s},
                                                                  {u"Science quiz 1.gift"_s, u"Science quiz 2.gift"_s}},
                                                                 {{u"aiken"_s, u"--format"_s, u"aiken"_s},
                                                                  {u"Science quiz 1.txt"_s, u"Science quiz 2.txt"_s}},
                                                                 {{u"one"_s, u"--export-title"_s, u"Science quiz 2"_s},
                                                                  {u"Science quiz 2.gift"_s}}};
        for (const auto &[options, files] : exports) {
            run = velmora(data + QStringList{u"--export"_s} + options, dir.path());
            QCOMPARE(run.status, 0);
            QCOMPARE(QDir(dir.filePath(options[0])).entryList(QDir::Files), files);
            QCOMPARE(run.out.count("wrote "_L1), files.size());
        }
    }
};

QTEST_GUILESS_MAIN(TestExchangeCommandLine)
#include "tst_exchange_cli.moc"
