// Saves that fail on the way: a full disk, a kill in the middle, a folder that cannot
// be written. Each case runs the save in a child process, so the kill and the limits
// touch nothing of the test itself.
#include "module1/worksheetfile.h"
#include "platform/datapaths.h"
#include "platform/fileslot.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;

namespace {

constexpr int kSaved = 0;
constexpr int kWriteFailed = 3;
constexpr int kOtherFailure = 4;

Worksheet sheetOf(const QString &title, int padding)
{
    Worksheet sheet;
    sheet.title = title;
    for (int q = 0; q < Worksheet::kQuestions; ++q) {
        sheet.questions[q] =
            QStringLiteral("%1 question %2 ").arg(title).arg(q + 1) + QString(padding, QLatin1Char('x'));
        for (int k = 0; k < 4; ++k)
            sheet.answers[q][k] = QStringLiteral("answer %1").arg(k);
        sheet.correct[q] = QStringLiteral("1");
    }
    return sheet;
}

// Saves in this process; returns the exit code the child reports.
int saveNow(const QString &root, const Worksheet &sheet)
{
    DataPaths paths(root);
    FileSlot slot(paths);
    try {
        slot.openForOutput(QStringLiteral("multiple/sheet.txt"));
        writeworksheet(slot, sheet);
        slot.close();
        return kSaved;
    } catch (const FileError &e) {
        return e.kind() == FileError::Kind::DiskFull ? kWriteFailed : kOtherFailure;
    }
}

// Runs `work` in a child process and returns its exit code (or -signal).
template <class Work>
int inChild(Work work)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(work());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

QByteArray bytesOf(const QString &root, const Worksheet &sheet)
{
    QTemporaryDir scratch;
    QDir(scratch.path()).mkpath(QStringLiteral("multiple"));
    saveNow(scratch.path(), sheet);
    QFile f(scratch.path() + QStringLiteral("/multiple/sheet.txt"));
    Q_UNUSED(root);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray readSheet(const QString &root)
{
    QFile f(root + QStringLiteral("/multiple/sheet.txt"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList leftovers(const QString &root)
{
    return QDir(root + QStringLiteral("/multiple")).entryList(QDir::Files);
}

} // namespace

class TestWorksheetFileFaults : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_root;
    QByteArray m_old;

private Q_SLOTS:
    void init()
    {
        m_root = m_dir.path() + QStringLiteral("/") + QString::fromLatin1(QTest::currentTestFunction());
        QDir().mkpath(m_root + QStringLiteral("/multiple"));
        QCOMPARE(saveNow(m_root, sheetOf(QStringLiteral("Old"), 10)), kSaved);
        m_old = readSheet(m_root);
    }

    void fileSizeLimitActsAsAFullDisk()
    {
        // The new file outgrows what the disk will take: the failure is reported and the
        // old file stays byte for byte.
        const int code = inChild([this] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{512, 512};
            setrlimit(RLIMIT_FSIZE, &limit);
            return saveNow(m_root, sheetOf(QStringLiteral("New"), 200));
        });
        QCOMPARE(code, kWriteFailed);
        QCOMPARE(readSheet(m_root), m_old);
        QCOMPARE(leftovers(m_root), QStringList({QStringLiteral("sheet.txt")}));
    }

    void fullTmpfs()
    {
        if (geteuid() != 0)
            QSKIP("mounting a small tmpfs needs root; the file-size limit case covers a full disk");
        const QString mountPoint = m_root + QStringLiteral("/disk");
        QDir().mkpath(mountPoint);
        if (mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=16k") != 0)
            QSKIP("this machine does not allow mounting a tmpfs here");
        struct Unmount {
            QString path;
            ~Unmount() { umount(QFile::encodeName(path).constData()); }
        } unmount{mountPoint};
        QDir().mkpath(mountPoint + QStringLiteral("/multiple"));
        QCOMPARE(saveNow(mountPoint, sheetOf(QStringLiteral("Old"), 10)), kSaved);
        const QByteArray old = readSheet(mountPoint);
        // Fill the disk, leaving room for less than the new worksheet.
        QFile filler(mountPoint + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {}
        filler.close();
        const int code = inChild([&] { return saveNow(mountPoint, sheetOf(QStringLiteral("New"), 200)); });
        QCOMPARE(code, kWriteFailed);
        QCOMPARE(readSheet(mountPoint), old);
        QCOMPARE(leftovers(mountPoint), QStringList({QStringLiteral("sheet.txt")}));
    }

    void killedSavesLeaveOldOrNew()
    {
        const Worksheet a = sheetOf(QStringLiteral("Alpha"), 40);
        const Worksheet b = sheetOf(QStringLiteral("Beta"), 400);
        const QByteArray bytesA = bytesOf(m_root, a);
        const QByteArray bytesB = bytesOf(m_root, b);
        QRandomGenerator random(7);
        int strays = 0;
        for (int round = 0; round < 60; ++round) {
            const pid_t pid = fork();
            if (pid == 0) {
                for (int i = 0;; ++i)
                    saveNow(m_root, i % 2 ? b : a);
            }
            usleep(random.bounded(200u, 4000u));
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            const QByteArray now = readSheet(m_root);
            QVERIFY2(now == m_old || now == bytesA || now == bytesB,
                     qPrintable(QStringLiteral("round %1: %2 bytes of something else").arg(round).arg(now.size())));
            strays += removeStrayTemporaries(m_root + QStringLiteral("/multiple"));
            QCOMPARE(leftovers(m_root), QStringList({QStringLiteral("sheet.txt")}));
        }
        qInfo("stray temporaries cleaned after kills: %d", strays);
    }

    void readOnlyFolder()
    {
        if (geteuid() == 0)
            QSKIP("running as root: folder permissions do not stop root");
        QFile::setPermissions(m_root + QStringLiteral("/multiple"), QFile::ReadOwner | QFile::ExeOwner);
        const int code = saveNow(m_root, sheetOf(QStringLiteral("New"), 10));
        QFile::setPermissions(m_root + QStringLiteral("/multiple"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(code, kWriteFailed);
        QCOMPARE(readSheet(m_root), m_old);
    }
};

QTEST_GUILESS_MAIN(TestWorksheetFileFaults)
#include "tst_worksheetfile_faults.moc"
