// Several copies of the program saving and deleting worksheets on one folder at once,
// on a disk whose renames and syncs are slow (as on a busy network share), and a copy
// killed while it holds the list's lock. Each copy is this program started again
// ("--copy ROOT N", "--hold ROOT"); it works through Module1 and file slot 1 exactly as
// the wizard and the catalogue do.
#include "module1/module1.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "platform/listlock.h"
#include "platform/platform.h"
#include "support/inertservices.h"
#include "support/listcopies.h"
#include "toolkit/formregistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace velmora;
using namespace velmora::test;

namespace {

const CopyPlan kPlan{5, 12, 8};
constexpr int kSlowSyncMs = 4;

// The list as another copy would read it at this moment, or what went wrong.
QString readList(Module1 &m, QStringList &titles)
{
    try {
        m.readtracklist(kListFile);
    } catch (const FileError &e) {
        m.platform().file1().abandon();
        return QStringLiteral("the list does not parse: ") + e.detail();
    }
    titles.clear();
    for (long long i = 1; i <= m.trackcount; ++i)
        titles << m.tracklist[std::size_t(i)];
    return {};
}

} // namespace

class TestWorksheetListCopies : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copiesSavingAndDeletingAtOnceLoseNothing()
    {
        QVERIFY2(QFile::exists(QStringLiteral(VELMORA_SLOWSYNC_LIBRARY)), VELMORA_SLOWSYNC_LIBRARY);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("multiple")));
        QFile list(dir.filePath(QStringLiteral("multiple/track.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(listFileOf(kPlan.startList()));
        list.close();

        InertProgram program(dir.path());
        Module1 &reader = program.m;

        // The list is checked while the copies work, and after each one finishes.
        QStringList failures;
        QList<int> finished;
        int reads = 0;
        const auto check = [&](const QString &when) {
            QStringList titles;
            QString problem = readList(reader, titles);
            if (problem.isEmpty())
                problem = kPlan.problems(titles, finished);
            ++reads;
            if (!problem.isEmpty() && failures.size() < 5)
                failures << when + QStringLiteral(": ") + problem;
        };
        QTimer poll;
        poll.setInterval(3);
        QObject::connect(&poll, &QTimer::timeout, [&] { check(QStringLiteral("while the copies work")); });

        std::vector<std::unique_ptr<QProcess>> copies;
        for (int c = 1; c <= kPlan.copies; ++c) {
            auto copy = std::make_unique<QProcess>();
            copy->setProcessEnvironment(slowSyncEnvironment(QStringLiteral(VELMORA_SLOWSYNC_LIBRARY), kSlowSyncMs));
            copy->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            QObject::connect(copy.get(), &QProcess::finished, [&, c](int code, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || code != 0)
                    failures << QStringLiteral("copy %1 ended with %2").arg(c).arg(code);
                finished << c;
                check(QStringLiteral("after copy %1 finished").arg(c));
            });
            copies.push_back(std::move(copy));
        }
        for (int c = 1; c <= kPlan.copies; ++c)
            copies[c - 1]->start(QCoreApplication::applicationFilePath(),
                                 {QStringLiteral("--copy"), dir.path(), QString::number(c)});
        poll.start();
        QTRY_VERIFY_WITH_TIMEOUT(finished.size() == kPlan.copies, 90000);
        poll.stop();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        qInfo("%d reads of the list while %d copies worked", reads, kPlan.copies);

        QStringList titles;
        const QString unreadable = readList(reader, titles);
        QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable));
        const QStringList expected = kPlan.listAfter();
        QStringList lost;
        for (const QString &title : expected) {
            if (!titles.contains(title))
                lost << title;
        }
        QStringList extra;
        for (const QString &title : titles) {
            if (!expected.contains(title))
                extra << title;
        }
        QVERIFY2(lost.isEmpty() && extra.isEmpty() && titles.size() == expected.size(),
                 qPrintable(QStringLiteral("lost: %1; not expected: %2")
                                .arg(lost.join(QStringLiteral(", ")), extra.join(QStringLiteral(", ")))));
        // No lock and no half-written list is left behind.
        QCOMPARE(QDir(dir.filePath(QStringLiteral("multiple"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("track.txt")});
    }

    // A copy killed while it changes the list leaves its lock behind; the next change
    // on this machine sees that its process is gone, breaks the lock and goes on.
    void copyKilledWhileHoldingTheLock()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("multiple")));
        QFile list(dir.filePath(QStringLiteral("multiple/track.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(listFileOf({QStringLiteral("Maths")}));
        list.close();

        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold"), dir.path()});
        QVERIFY(holder.waitForReadyRead(10000));
        const QString lockFile = dir.filePath(QStringLiteral("multiple/track.txt.lock"));
        QVERIFY(QFile::exists(lockFile));
        holder.kill();
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(QFile::exists(lockFile));

        InertProgram program(dir.path());
        Module1 &m = program.m;
        QVERIFY(m.appendToWorksheetList(QStringLiteral("Stars")));
        QVERIFY(m.removeFromWorksheetList(QStringLiteral("Maths")));
        QStringList titles;
        QCOMPARE(readList(m, titles), QString());
        QCOMPARE(titles, QStringList{QStringLiteral("Stars")});
        QVERIFY(!QFile::exists(lockFile));
    }
};

// A copy that takes the list's lock, says so and waits to be killed.
int holdTheLock(const QString &root)
{
    InertMessageBoxes messages;
    InertDesktopShell shell;
    InertScreen screen;
    NoPrintTarget printer;
    Platform platform(root, messages, shell, screen, printer);
    const ListLock lock(platform.paths(), kListFile);
    std::puts("held");
    std::fflush(stdout);
    for (;;)
        pause();
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--copy") == 0)
        return runCopy(QString::fromLocal8Bit(argv[2]), kPlan, std::atoi(argv[3]));
    if (argc == 3 && std::strcmp(argv[1], "--hold") == 0)
        return holdTheLock(QString::fromLocal8Bit(argv[2]));
    TestWorksheetListCopies test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_worksheetlist_copies.moc"
