// The worksheet list: its two changes, its lock (where it lives, when a lock left by
// another copy is broken or waited for, what is planted under its names), and copies of
// the program changing it at once on a disk whose renames and syncs are slow, as on a
// busy network share. A copy is this program started again ("--copy ROOT N"); it works
// through Module1 and file slot 1 exactly as the wizard and the catalogue do.
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "platform/listlock.h"
#include "support/listcopies.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTest>

#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;
using namespace std::chrono_literals;

constexpr CopyPlan kPlan{5, 12, 8};
constexpr int kSlowSyncMs = 4;
// Short waits: a lock that is not broken at once never will be within the test (one
// that its holder lets go is waited for as long as the program waits).
const ListLock::Timing kQuick{300ms, 5ms, 30s};
const QString kLock = kListFile + QStringLiteral(".lock");

// Puts "fifo", "folder" or "link" (to the list) under the name, or a lock file of the
// text `what`, in which a blank is a line break, HOST and BOOT are this machine's, DEAD
// a process that is gone, LIVE one that runs, and NOW, OLD (a minute ago) and AHEAD
// (ten minutes on) times. Returns what was planted.
static QByteArray plant(const DataFolder &folder, const QString &name, QByteArray what, int ageSeconds = 0)
{
    const QByteArray path = QFile::encodeName(folder.path(name));
    if ((what == "fifo" && ::mkfifo(path.constData(), 0644) == 0)
        || (what == "folder" && ::mkdir(path.constData(), 0755) == 0)
        || (what == "link" && ::symlink("track.txt", path.constData()) == 0))
        return what;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    what.replace("DEAD", "4194305"); // above any process number Linux hands out
    QFile boot(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    what.replace("HOST", QSysInfo::machineHostName().toUtf8());
    what.replace("BOOT", boot.open(QIODevice::ReadOnly) ? boot.readAll().trimmed() : QByteArray());
    what.replace("LIVE", QByteArray::number(qint64(getppid()))).replace("NOW", QByteArray::number(now));
    what.replace("OLD", QByteArray::number(now - 60000)).replace("AHEAD", QByteArray::number(now + 600000));
    if (!what.isEmpty())
        what.replace(' ', '\n').append('\n');
    folder.write(name, what, ageSeconds);
    return what;
}

static ino_t inodeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

class TestWorksheetList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A change reads the list afresh first; what a failed read has read stays in memory
    // (the catalogue shows it), the count included.
    void listChanges_data()
    {
        QTest::addColumn<QByteArray>("before"); // empty: no list file
        QTest::addColumn<bool>("remove");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("error"); // FileError::Kind, or -1 for none
        QTest::addColumn<QStringList>("after"); // the titles listed once it worked
        QTest::addColumn<QStringList>("memory"); // the titles in memory afterwards
        QTest::addColumn<long long>("count"); // and their count; -1: as many as listed
        const auto titles = [](const char *list) { return QString::fromUtf8(list).split(QLatin1Char('|')); };
        const auto row = [](const char *name, const QByteArray &before, bool remove, const char *title, int error,
                            const QStringList &after, const QStringList &memory, long long count = -1) {
            QTest::newRow(name) << before << remove << QString::fromUtf8(title) << error << after << memory << count;
        };
        using Kind = FileError::Kind;
        const QByteArray two = listFileOf(titles("Maths|Plants& animals"));
        const QStringList mathsPlants = titles("Maths|Plants& animals");
        const QByteArray sheets = QByteArray("Sheet\r\n").repeated(1200);
        const QStringList thousand(Module1::kListCapacity, QStringLiteral("Sheet"));
        row("add", two, false, "Stars", -1, titles("Maths|Plants& animals|Stars"), mathsPlants);
        row("add a title listed already", two, false, "Maths", -1, mathsPlants, mathsPlants);
        row("add: case counts", two, false, "maths", -1, titles("Maths|Plants& animals|maths"), mathsPlants);
        row("add to an empty list", " 0 \r\n", false, "New", -1, titles("New"), {});
        row("add: titles past the count are not listed", listFileOf(titles("A|B")) + "C\r\n", false, "New", -1,
            titles("A|B|New"), titles("A|B"));
        row("remove", two, true, "Plants& animals", -1, titles("Maths"), titles("Maths"));
        row("remove the last equal entry", listFileOf(titles("A|B|A|C")), true, "A", -1, titles("A|B|C"),
            titles("A|B|C"));
        row("remove a title not listed", two, true, "Plants, animals", -1, mathsPlants, mathsPlants);
        row("add: list missing", {}, false, "New", int(Kind::NotFound), {}, titles("Earlier"));
        row("add: not a count", "many\r\n", false, "New", int(Kind::BadNumber), {}, titles("Earlier"));
        row("add: count below zero", "-4\r\n", false, "New", int(Kind::BadNumber), {}, titles("Earlier"));
        row("remove: list cut short", " 3 \r\nA\r\n", true, "A", int(Kind::PastEnd), {}, titles("A||"));
        row("add: list full", " 1000 \r\n" + sheets.left(7000), false, "New", int(Kind::Overflow), {}, thousand);
        row("add: count past the list's room", " 1200 \r\n" + sheets, false, "New", int(Kind::Overflow), {}, thousand,
            1200);
        row("add: a title the file cannot hold", two, false, "Sun ☀", int(Kind::Unencodable), {}, mathsPlants);
    }

    void listChanges()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, remove);
        QFETCH(QString, title);
        QFETCH(int, error);
        QFETCH(QStringList, after);
        QFETCH(QStringList, memory);
        QFETCH(long long, count);
        DataFolder folder;
        if (!before.isEmpty())
            folder.write(kListFile, before);
        folder.m.trackcount = 1; // from an earlier read
        folder.m.tracklist[1] = QStringLiteral("Earlier");
        const QStringList files = folder.files();
        const ino_t inode = inodeOf(folder.path(kListFile));
        int thrown = -1;
        bool changed = false;
        try {
            changed = remove ? folder.m.removeFromWorksheetList(title) : folder.m.appendToWorksheetList(title);
            QVERIFY(!folder.platform.file1().isOpen());
        } catch (const FileError &e) {
            thrown = int(e.kind());
            folder.platform.file1().abandon();
        }
        QCOMPARE(thrown, error);
        QCOMPARE(folder.files(), files); // no lock left behind, and no temporary
        const QByteArray now = folder.read(kListFile);
        QCOMPARE(now, error < 0 ? listFileOf(after) : before.isEmpty() ? QByteArray("<missing>") : before);
        if (now == before) // not even written again with the same bytes: the very same file
            QCOMPARE(inodeOf(folder.path(kListFile)), inode);
        QCOMPARE(changed, error < 0 && now != before);
        QCOMPARE(folder.m.trackcount, count < 0 ? memory.size() : count);
        const auto first = folder.m.tracklist.cbegin() + 1;
        QCOMPARE(QStringList(first, first + qMin<long long>(folder.m.trackcount, Module1::kListCapacity)), memory);
    }

    void ourLockSitsBesideTheListAndIsOursToRemove()
    {
        DataFolder folder;
        QTemporaryDir own;
        folder.platform.redirectWorksheets(own.path());
        const QString lockFile = own.path() + QStringLiteral("/track.txt.lock");
        QByteArray theirs;
        {
            const ListLock lock(folder.platform.paths(), kListFile, kQuick);
            QCOMPARE(lock.lockPath(), lockFile);
            // Held past the stale age: another copy broke it and took the list.
            QVERIFY(QFile::remove(lockFile));
            theirs = plant(folder, lockFile, "host=classroom-2 boot=x pid=12 time=NOW");
        }
        QCOMPARE(folder.read(lockFile), theirs);
    }

    void lockFoundInPlace_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("lockAge"); // seconds since the lock file was written
        QTest::addColumn<QByteArray>("breaking"); // under the break lock's name; empty: nothing
        QTest::addColumn<bool>("letGo"); // by its holder once the waiting copy has read it
        QTest::addColumn<int>("error"); // FileError::Kind; -1: the lock is taken
        const auto row = [](const char *name, const char *lock, int age, const char *breaking, int error,
                            bool letGo = false) {
            QTest::newRow(name) << QByteArray(lock) << age << QByteArray(breaking) << letGo << error;
        };
        const int locked = int(FileError::Kind::Locked);
        const int planted = int(FileError::Kind::NotRegular);
        row("live process on this machine", "host=HOST boot=BOOT pid=LIVE time=NOW", 0, "", locked);
        row("live process on this machine, let go while waited for", "host=HOST boot=BOOT pid=LIVE time=NOW", 0, "", -1,
            true);
        row("live process on this machine, a minute old", "host=HOST boot=BOOT pid=LIVE time=OLD", 60, "", -1);
        row("gone process on a machine of the same name", "host=HOST boot=other pid=DEAD time=NOW", 0, "", locked);
        row("another machine, a minute old", "host=classroom-2 boot=0f0f pid=7 time=OLD", 60, "", -1);
        row("another machine, just taken", "host=classroom-2 boot=0f0f pid=7 time=NOW", 0, "", locked);
        row("another machine whose clock is behind", "host=classroom-2 boot=0f0f pid=7 time=OLD", 0, "", locked);
        row("another machine whose clock is far ahead, a minute old", "host=classroom-2 boot=0f0f pid=7 time=AHEAD", 60,
            "", -1);
        row("empty: its holder is still writing it", "", 0, "", locked);
        row("empty: its holder died writing it", "", 60, "", -1);
        row("not a lock of ours, a minute old", "\x01\x02garbage", 60, "", -1);
        row("no process named, just written", "host=HOST boot=BOOT time=NOW", 0, "", locked);
        row("stale, while a live copy breaks it", "host=HOST boot=BOOT pid=DEAD time=NOW token=a", 0,
            "host=HOST boot=BOOT pid=LIVE time=NOW token=b", locked);
        row("stale, and so is the copy that was breaking it", "host=HOST boot=BOOT pid=DEAD time=NOW token=a", 0,
            "host=HOST boot=BOOT pid=DEAD time=NOW token=b", -1);
        // Planted on a shared folder: never followed, opened or waited on, and left alone.
        row("a pipe", "fifo", 0, "", planted);
        row("a folder", "folder", 0, "", planted);
        row("a link to the list", "link", 0, "", planted);
        row("stale, a pipe under the break lock's name", "host=HOST boot=BOOT pid=DEAD time=NOW", 0, "fifo", planted);
    }

    void lockFoundInPlace()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, lockAge);
        QFETCH(QByteArray, breaking);
        QFETCH(bool, letGo);
        QFETCH(int, error);
        if (lock.contains("boot=other") && !QFile::exists(QStringLiteral("/proc/sys/kernel/random/boot_id")))
            QSKIP("this system names no boot id: a machine is told by its host name alone");
        DataFolder folder;
        folder.write(kListFile, listFileOf({QStringLiteral("Maths")}));
        lock = plant(folder, kLock, lock, lockAge);
        if (!breaking.isEmpty())
            breaking = plant(folder, kLock + QStringLiteral(".break"), breaking);
        // A holder that lets go is a child that removes the lock once the waiting copy reads it.
        const QByteArray lockPath = QFile::encodeName(folder.path(kLock));
        pollfd opened{inotify_init1(IN_CLOEXEC), POLLIN, 0};
        QVERIFY(inotify_add_watch(opened.fd, lockPath.constData(), IN_OPEN) >= 0);
        if (letGo && fork() == 0)
            _exit(poll(&opened, 1, 10000) == 1 ? ::unlink(lockPath.constData()) : 1);
        ::close(opened.fd);
        const auto reap = qScopeGuard([] { waitpid(-1, nullptr, 0); }); // the holder, if there is one
        try {
            const ListLock taken(folder.platform.paths(), kListFile, letGo ? ListLock::Timing{} : kQuick);
            QVERIFY2(error < 0, "a live or planted lock was broken");
            QVERIFY(folder.read(kLock).contains("pid=" + QByteArray::number(getpid()) + '\n'));
            QVERIFY(!QFile::exists(folder.path(kLock + QStringLiteral(".break"))));
        } catch (const FileError &e) {
            // Locked says so and names the holder's machine, when the lock names a holder.
            const bool planted = e.kind() == FileError::Kind::NotRegular;
            const QByteArray host = lock.contains("pid=") ? lock.mid(5, lock.indexOf('\n') - 5) : QByteArray();
            QVERIFY2(int(e.kind()) == error
                         && (planted
                             || (e.detail().contains(QStringLiteral("being changed by another copy of the program"))
                                 && e.detail().contains(QString::fromUtf8(host)))),
                     qPrintable(e.detail()));
            // Left as it was.
            const QFileInfo left(folder.path(breaking == "fifo" ? kLock + QStringLiteral(".break") : kLock));
            QVERIFY(planted ? left.isSymLink() || (left.exists() && !left.isFile()) : folder.read(kLock) == lock);
            return;
        }
        QVERIFY(!QFile::exists(folder.path(kLock)));
    }

    // The copies start on a lock left by a copy that ended while it held it: the first
    // change sees that its process is gone, breaks the lock and goes on.
    void copiesSavingAndDeletingAtOnceLoseNothing()
    {
        QVERIFY2(QFile::exists(QStringLiteral(VELMORA_SLOWSYNC_LIBRARY)), VELMORA_SLOWSYNC_LIBRARY);
        DataFolder folder;
        folder.write(kListFile, listFileOf(kPlan.startList()));
        if (fork() == 0) {
            const ListLock lock(folder.platform.paths(), kListFile);
            _exit(0); // without letting go of the lock
        }
        QVERIFY(wait(nullptr) > 0 && QFile::exists(folder.path(kLock)));
        QProcess copies[kPlan.copies];
        const auto slowed = slowSyncEnvironment(QStringLiteral(VELMORA_SLOWSYNC_LIBRARY), kSlowSyncMs);
        for (int c = 1; c <= kPlan.copies; ++c) {
            QProcess &copy = copies[c - 1];
            copy.setProcessEnvironment(slowed);
            copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            copy.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--copy"), folder.dir.path(), QString::number(c)});
        }
        for (QProcess &copy : copies) {
            QVERIFY(copy.waitForFinished(90000));
            QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
            QCOMPARE(copy.exitCode(), 0); // every save added its title, every delete removed one
        }
        folder.m.readtracklist(kListFile);
        QStringList listed(folder.m.tracklist.cbegin() + 1, folder.m.tracklist.cbegin() + 1 + folder.m.trackcount);
        QStringList expected = kPlan.listAfter();
        listed.sort();
        expected.sort();
        QCOMPARE(listed, expected);
        // No lock and no half-written list is left behind.
        QCOMPARE(folder.files(), QStringList{QStringLiteral("track.txt")});
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--copy") == 0)
        return runCopy(QString::fromLocal8Bit(argv[2]), kPlan, std::atoi(argv[3]));
    TestWorksheetList test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_worksheetlist.moc"
