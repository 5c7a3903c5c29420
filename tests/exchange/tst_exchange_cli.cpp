// The program's own command line for importing and exporting, and the desktop entry's
// actions that start it.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run velmora(const QStringList &arguments, const QString &folder = QString())
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VELMORA_PROGRAM), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// A data folder with the supplied worksheet folder only: the file commands need no
// pictures.
QString makeData(const QTemporaryDir &dir)
{
    const QString root = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(root + QStringLiteral("/multiple"));
    for (const QString &name : {QStringLiteral("track.txt"), QStringLiteral("Ardovin Sevrani.txt")})
        QFile::copy(QStringLiteral(VELMORA_SOURCE_DATA "/multiple/") + name,
                    root + QStringLiteral("/multiple/") + name);
    return root;
}

} // namespace

class TestExchangeCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("import and export") << QStringList{QStringLiteral("--import"), QStringLiteral("a.gift"),
                                                          QStringLiteral("--export"), QStringLiteral("out")}
                                           << QStringLiteral("use one of --import");
        QTest::newRow("format alone") << QStringList{QStringLiteral("--format"), QStringLiteral("aiken")}
                                      << QStringLiteral("--format and --export-title go with --export");
        QTest::newRow("export title alone") << QStringList{QStringLiteral("--export-title"), QStringLiteral("x")}
                                            << QStringLiteral("--format and --export-title go with --export");
        QTest::newRow("unknown format") << QStringList{QStringLiteral("--export"), QStringLiteral("out"),
                                                       QStringLiteral("--format"), QStringLiteral("qti")}
                                        << QStringLiteral("unknown format 'qti'");
        QTest::newRow("a file without --import")
            << QStringList{QStringLiteral("quiz.gift")} << QStringLiteral("unexpected argument 'quiz.gift'");
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = velmora(arguments);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }

    void helpDescribesBothWays()
    {
        const Run run = velmora({QStringLiteral("--help")});
        QCOMPARE(run.status, 0);
        for (const char *words :
             {"--import <file>", "--export <dir>", "--export-title <title>", "--format <format>", "--import-dialog",
              "--export-dialog", "Import worksheets", "Export worksheets", "--data <dir>", "--print-to <dir>"})
            QVERIFY2(run.out.contains(QLatin1String(words)), words);
    }

    void desktopActionsUseTheOptions()
    {
        QFile entry(QStringLiteral(VELMORA_SOURCE_DIR "/packaging/velmora.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        const QString help = velmora({QStringLiteral("--help")}).out;
        static const QRegularExpression actions(QStringLiteral("^Actions=(.*)$"), QRegularExpression::MultilineOption);
        const QStringList ids = actions.match(text).captured(1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QCOMPARE(ids.size(), 2);
        QStringList names;
        for (const QString &id : ids) {
            const qsizetype at = text.indexOf(QStringLiteral("[Desktop Action %1]").arg(id));
            QVERIFY2(at >= 0, qPrintable(id));
            const QString section = text.mid(at).section(QStringLiteral("\n\n"), 0, 0);
            names << section.section(QStringLiteral("\nName="), 1).section(QLatin1Char('\n'), 0, 0);
            const QString exec = section.section(QStringLiteral("\nExec="), 1).section(QLatin1Char('\n'), 0, 0);
            QVERIFY2(exec.startsWith(QLatin1String("velmora --")), qPrintable(exec));
            QVERIFY2(help.contains(exec.mid(8)), qPrintable(exec));
        }
        QCOMPARE(names, (QStringList{QStringLiteral("Import worksheets…"), QStringLiteral("Export worksheets…")}));
    }

    void importThenExport_data()
    {
        QTest::addColumn<QStringList>("exportArguments");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("default format") << QStringList{}
                                        << QStringList{QStringLiteral("Science quiz 1.gift"),
                                                       QStringLiteral("Science quiz 2.gift")};
        QTest::newRow("Aiken") << QStringList{QStringLiteral("--format"), QStringLiteral("aiken")}
                               << QStringList{QStringLiteral("Science quiz 1.txt"),
                                              QStringLiteral("Science quiz 2.txt")};
        QTest::newRow("one title") << QStringList{QStringLiteral("--export-title"), QStringLiteral("Science quiz 2")}
                                   << QStringList{QStringLiteral("Science quiz 2.gift")};
    }

    void importThenExport()
    {
        QFETCH(QStringList, exportArguments);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        const QString data = makeData(dir);
        const QString fixture = QStringLiteral(VELMORA_SOURCE_TESTDATA "/exchange/Science quiz.gift");

        Run run = velmora({QStringLiteral("--data"), data, QStringLiteral("--import"), fixture});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains(QLatin1String("saved \"Science quiz 1\"")), qPrintable(run.out));
        QVERIFY2(run.out.contains(QLatin1String("question 2 (line 9) skipped: it is a true/false question")),
                 qPrintable(run.out));

        // The same file again: both titles are taken, nothing is replaced, and the exit
        // status says that not everything was done.
        run = velmora({QStringLiteral("--data"), data, QStringLiteral("--import"), fixture});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(QLatin1String("exists already")), qPrintable(run.out));

        run = velmora(QStringList{QStringLiteral("--data"), data, QStringLiteral("--export"), QStringLiteral("out")}
                          + exportArguments,
                      dir.path());
        QCOMPARE(run.status, 0);
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files), files);
        QCOMPARE(run.out.count(QLatin1String("wrote ")), files.size());
    }
};

QTEST_GUILESS_MAIN(TestExchangeCommandLine)
#include "tst_exchange_cli.moc"
