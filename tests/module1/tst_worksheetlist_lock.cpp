// The worksheet list's lock: where it lives, when a lock left by another copy is broken
// or waited for, and that the list's changes always let it go.
#include "module1/module1.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "platform/listlock.h"
#include "platform/platform.h"
#include "support/inertservices.h"
#include "support/listcopies.h"
#include "toolkit/formregistry.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;

namespace {

using namespace std::chrono_literals;

// Short waits: a lock that is not broken at once never will be within the test.
const ListLock::Timing kQuick{300ms, 5ms, 30s};

// The data folder of one copy of the program, without screens.
struct Copy {
    Copy() { QDir(dir.path()).mkpath(QStringLiteral("multiple")); }
    QString path(const QString &relative) const { return dir.filePath(relative); }
    QStringList files(const QString &folder = QStringLiteral("multiple")) const
    {
        return QDir(path(folder)).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir dir;
    InertProgram program{dir.path()};
    Platform &platform = program.platform;
    Module1 &m = program.m;
};

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes, int ageSeconds = 0)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    f.flush();
    if (ageSeconds != 0)
        f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
}

QByteArray bootId()
{
    QFile boot(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    return boot.open(QIODevice::ReadOnly) ? boot.readAll().trimmed() : QByteArray();
}

// A process id that was just used and is gone.
qint64 deadPid()
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

// A lock file's text from a template: HOST and BOOT are this machine's, DEAD a process
// that is gone, LIVE one that runs; NOW, OLD (a minute ago) and AHEAD (ten minutes on)
// are times.
QByteArray lockText(QByteArray text)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    text.replace("HOST", QSysInfo::machineHostName().toUtf8());
    text.replace("BOOT", bootId());
    if (text.contains("DEAD"))
        text.replace("DEAD", QByteArray::number(deadPid()));
    text.replace("LIVE", QByteArray::number(qint64(getppid())));
    text.replace("NOW", QByteArray::number(now));
    text.replace("OLD", QByteArray::number(now - 60000));
    text.replace("AHEAD", QByteArray::number(now + 600000));
    return text;
}

QByteArray ourPidLine()
{
    return "pid=" + QByteArray::number(qint64(getpid())) + '\n';
}

} // namespace

class TestWorksheetListLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lockSitsBesideTheList_data()
    {
        QTest::addColumn<bool>("redirected");
        QTest::newRow("data folder") << false;
        QTest::newRow("worksheets redirected to a user folder") << true;
    }

    void lockSitsBesideTheList()
    {
        QFETCH(bool, redirected);
        Copy copy;
        QTemporaryDir own;
        if (redirected)
            copy.platform.redirectWorksheets(own.path());
        const QString expected =
            (redirected ? own.path() : copy.path(QStringLiteral("multiple"))) + QStringLiteral("/track.txt.lock");
        {
            const ListLock lock(copy.platform.paths(), kListFile, kQuick);
            QCOMPARE(lock.lockPath(), expected);
            const QByteArray text = readBytes(expected);
            QVERIFY2(text.contains(ourPidLine()), text.constData());
            QVERIFY2(text.contains("host=" + QSysInfo::machineHostName().toUtf8() + '\n'), text.constData());
            // A second taker, even in the same process, waits and is refused.
            QVERIFY_THROWS_EXCEPTION(FileError, ListLock(copy.platform.paths(), kListFile, kQuick));
        }
        QVERIFY(!QFile::exists(expected));
    }

    void lockLeftByAnotherCopy_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("lockAge"); // seconds since the lock file was written
        QTest::addColumn<QByteArray>("breaking"); // a copy's break lock; empty: none
        QTest::addColumn<bool>("broken");

        const QByteArray here = "host=HOST\nboot=BOOT\n";
        const QByteArray elsewhere = "host=another-classroom\nboot=0f0f\n";
        QTest::newRow("gone process on this machine") << here + "pid=DEAD\ntime=NOW\ntoken=a\n"
                                                      << 0 << QByteArray() << true;
        QTest::newRow("live process on this machine") << here + "pid=LIVE\ntime=NOW\ntoken=a\n"
                                                      << 0 << QByteArray() << false;
        QTest::newRow("live process on this machine, a minute old") << here + "pid=LIVE\ntime=OLD\ntoken=a\n"
                                                                    << 60 << QByteArray() << true;
        QTest::newRow("gone process on a machine of the same name")
            << QByteArray("host=HOST\nboot=other\npid=DEAD\ntime=NOW\ntoken=a\n") << 0 << QByteArray() << false;
        QTest::newRow("another machine, a minute old") << elsewhere + "pid=7\ntime=OLD\ntoken=a\n"
                                                       << 60 << QByteArray() << true;
        QTest::newRow("another machine, just taken") << elsewhere + "pid=7\ntime=NOW\ntoken=a\n"
                                                     << 0 << QByteArray() << false;
        QTest::newRow("another machine whose clock is behind") << elsewhere + "pid=7\ntime=OLD\ntoken=a\n"
                                                               << 0 << QByteArray() << false;
        QTest::newRow("another machine whose clock is far ahead, a minute old")
            << elsewhere + "pid=7\ntime=AHEAD\ntoken=a\n"
            << 60 << QByteArray() << true;
        QTest::newRow("empty: its holder is still writing it") << QByteArray() << 0 << QByteArray() << false;
        QTest::newRow("empty: its holder died writing it") << QByteArray() << 60 << QByteArray() << true;
        QTest::newRow("not a lock of ours, a minute old")
            << QByteArray("\x01\x02garbage") << 60 << QByteArray() << true;
        QTest::newRow("no process named, just written") << here + "time=NOW\n" << 0 << QByteArray() << false;
        QTest::newRow("stale, while a live copy breaks it") << here + "pid=DEAD\ntime=NOW\ntoken=a\n"
                                                            << 0 << here + "pid=LIVE\ntime=NOW\ntoken=b\n"
                                                            << false;
        QTest::newRow("stale, and so is the copy that was breaking it") << here + "pid=DEAD\ntime=NOW\ntoken=a\n"
                                                                        << 0 << here + "pid=DEAD\ntime=NOW\ntoken=b\n"
                                                                        << true;
    }

    void lockLeftByAnotherCopy()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, lockAge);
        QFETCH(QByteArray, breaking);
        QFETCH(bool, broken);
        if (lock.contains("boot=other") && bootId().isEmpty())
            QSKIP("this system names no boot id: a machine is told by its host name alone");
        Copy copy;
        const QString lockFile = copy.path(QStringLiteral("multiple/track.txt.lock"));
        const QString breakFile = lockFile + QStringLiteral(".break");
        lock = lockText(lock);
        writeFile(lockFile, lock, lockAge);
        if (!breaking.isEmpty())
            writeFile(breakFile, lockText(breaking));
        try {
            const ListLock taken(copy.platform.paths(), kListFile, kQuick);
            QVERIFY2(broken, "a live lock was broken");
            QVERIFY(readBytes(lockFile).contains(ourPidLine()));
            QVERIFY(!QFile::exists(breakFile));
        } catch (const FileError &e) {
            QVERIFY2(!broken, qPrintable(e.detail()));
            QCOMPARE(e.kind(), FileError::Kind::Locked);
            QVERIFY2(e.detail().contains(QStringLiteral("being changed by another copy")), qPrintable(e.detail()));
            QCOMPARE(readBytes(lockFile), lock); // a live lock is left exactly as it was
            return;
        }
        QVERIFY(!QFile::exists(lockFile));
    }

    // The wizard's and the catalogue's changes wait a few seconds for a live lock, then
    // give up with a Locked error naming who holds it, the list untouched.
    void liveLockEndsInLockedErrorAfterTheWait_data()
    {
        QTest::addColumn<bool>("remove");
        QTest::newRow("save (append)") << false;
        QTest::newRow("delete (remove)") << true;
    }

    void liveLockEndsInLockedErrorAfterTheWait()
    {
        QFETCH(bool, remove);
        Copy copy;
        const QByteArray before = listFileOf({QStringLiteral("Maths")});
        writeFile(copy.path(QStringLiteral("multiple/track.txt")), before);
        const QByteArray held = lockText("host=another-classroom\nboot=x\npid=12\ntime=NOW\ntoken=c\n");
        writeFile(copy.path(QStringLiteral("multiple/track.txt.lock")), held);
        QElapsedTimer waited;
        waited.start();
        try {
            if (remove)
                copy.m.removeFromWorksheetList(QStringLiteral("Maths"));
            else
                copy.m.appendToWorksheetList(QStringLiteral("Stars"));
            QFAIL("the list changed under another copy's lock");
        } catch (const FileError &e) {
            QCOMPARE(e.kind(), FileError::Kind::Locked);
            QVERIFY2(e.detail().contains(QStringLiteral("being changed by another copy of the program"))
                         && e.detail().contains(QStringLiteral("another-classroom")),
                     qPrintable(e.detail()));
        }
        QVERIFY2(waited.elapsed() >= ListLock::Timing{}.wait.count(), "gave up without waiting");
        QVERIFY(!copy.platform.file1().isOpen());
        QCOMPARE(readBytes(copy.path(QStringLiteral("multiple/track.txt"))), before);
        QCOMPARE(readBytes(copy.path(QStringLiteral("multiple/track.txt.lock"))), held);
    }

    void changesAlwaysReleaseTheLock_data()
    {
        QTest::addColumn<QByteArray>("list"); // "-": no list file
        QTest::addColumn<bool>("remove");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("error"); // FileError::Kind, or -1 for none

        const QByteArray two = listFileOf({QStringLiteral("Maths"), QStringLiteral("Stars")});
        QStringList thousand;
        for (int i = 1; i <= Module1::kListCapacity; ++i)
            thousand << QStringLiteral("Sheet %1").arg(i);
        QTest::newRow("title added") << two << false << QStringLiteral("Plants") << -1;
        QTest::newRow("title already listed") << two << false << QStringLiteral("Maths") << -1;
        QTest::newRow("title removed") << two << true << QStringLiteral("Stars") << -1;
        QTest::newRow("title to remove not listed") << two << true << QStringLiteral("Plants") << -1;
        QTest::newRow("save: list missing")
            << QByteArray("-") << false << QStringLiteral("Plants") << int(FileError::Kind::NotFound);
        QTest::newRow("delete: list cut short")
            << QByteArray(" 3 \r\nMaths\r\n") << true << QStringLiteral("Maths") << int(FileError::Kind::PastEnd);
        QTest::newRow("save: list full") << listFileOf(thousand) << false << QStringLiteral("Plants")
                                         << int(FileError::Kind::Overflow);
        QTest::newRow("save: a title the file cannot hold")
            << two << false << QStringLiteral("Sun ☀") << int(FileError::Kind::Unencodable);
    }

    void changesAlwaysReleaseTheLock()
    {
        QFETCH(QByteArray, list);
        QFETCH(bool, remove);
        QFETCH(QString, title);
        QFETCH(int, error);
        Copy copy;
        if (list != "-")
            writeFile(copy.path(QStringLiteral("multiple/track.txt")), list);
        const QStringList before = copy.files();
        int thrown = -1;
        try {
            if (remove)
                copy.m.removeFromWorksheetList(title);
            else
                copy.m.appendToWorksheetList(title);
        } catch (const FileError &e) {
            thrown = int(e.kind());
            copy.platform.file1().abandon();
        }
        QCOMPARE(thrown, error);
        QCOMPARE(copy.files(), before); // no lock left, and no temporary
    }

    // Something planted under the lock's names on a shared folder is never followed,
    // opened or waited on: the change is refused at once and the thing left alone.
    void plantedLockNamesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << QStringLiteral("track.txt.lock") << QStringLiteral("fifo");
        QTest::newRow("folder") << QStringLiteral("track.txt.lock") << QStringLiteral("folder");
        QTest::newRow("link to the list") << QStringLiteral("track.txt.lock") << QStringLiteral("link");
        QTest::newRow("pipe under the break lock's name, the lock stale")
            << QStringLiteral("track.txt.lock.break") << QStringLiteral("fifo");
    }

    void plantedLockNamesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        Copy copy;
        const QByteArray list = listFileOf({QStringLiteral("Maths")});
        writeFile(copy.path(QStringLiteral("multiple/track.txt")), list);
        const QByteArray planted = QFile::encodeName(copy.path(QStringLiteral("multiple/") + name));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(planted.constData(), 0644), 0);
        else if (kind == QLatin1String("folder"))
            QCOMPARE(::mkdir(planted.constData(), 0755), 0);
        else
            QCOMPARE(::symlink("track.txt", planted.constData()), 0);
        if (name.endsWith(QLatin1String(".break")))
            writeFile(copy.path(QStringLiteral("multiple/track.txt.lock")),
                      lockText("host=HOST\nboot=BOOT\npid=DEAD\ntime=NOW\ntoken=a\n"));
        try {
            copy.m.appendToWorksheetList(QStringLiteral("Stars"));
            QFAIL("the list changed");
        } catch (const FileError &e) {
            QCOMPARE(e.kind(), FileError::Kind::NotRegular);
        }
        QCOMPARE(readBytes(copy.path(QStringLiteral("multiple/track.txt"))), list);
        struct stat info {
        };
        QCOMPARE(::lstat(planted.constData(), &info), 0);
    }

    void releaseLeavesALockThatIsNoLongerOurs()
    {
        Copy copy;
        const QString lockFile = copy.path(QStringLiteral("multiple/track.txt.lock"));
        const QByteArray theirs = lockText("host=another-classroom\nboot=x\npid=12\ntime=NOW\ntoken=d\n");
        {
            const ListLock lock(copy.platform.paths(), kListFile, kQuick);
            // Held past the stale age: another copy broke it and took the list.
            QVERIFY(QFile::remove(lockFile));
            writeFile(lockFile, theirs);
        }
        QCOMPARE(readBytes(lockFile), theirs);
    }
};

QTEST_GUILESS_MAIN(TestWorksheetListLock)
#include "tst_worksheetlist_lock.moc"
