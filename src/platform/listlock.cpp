#include "listlock.h"

#include "datapaths.h"
#include "fileslot.h"
#include "safefile.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace velmora {

namespace {

struct Machine {
    QByteArray host;
    QByteArray boot; // differs between machines that share a name, and after a restart
};

const Machine &thisMachine()
{
    static const Machine machine = [] {
        Machine m;
        m.host = QSysInfo::machineHostName().toUtf8();
        m.host.replace('\n', ' ');
        QFile boot(QStringLiteral("/proc/sys/kernel/random/boot_id"));
        if (boot.open(QIODevice::ReadOnly))
            m.boot = boot.readAll().trimmed();
        return m;
    }();
    return machine;
}

// A lock file as read back: its bytes, its file time and what it says of its holder.
struct Holder {
    QByteArray text;
    bool readable = true;
    qint64 fileTime = 0; // milliseconds since 1970
    QByteArray host;
    QByteArray boot;
    qint64 pid = 0;
    std::optional<qint64> time;
};

QByteArray holderText()
{
    const Machine &me = thisMachine();
    return "host=" + me.host + "\nboot=" + me.boot + "\npid=" + QByteArray::number(qint64(::getpid()))
           + "\ntime=" + QByteArray::number(QDateTime::currentMSecsSinceEpoch())
           + "\ntoken=" + QByteArray::number(QRandomGenerator::system()->generate64(), 16) + '\n';
}

qint64 msecs(const struct timespec &time)
{
    return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
}

[[noreturn]] void planted(const QString &path)
{
    throw FileError(FileError::Kind::NotRegular,
                    path + QStringLiteral(" is not an ordinary file (a link, a folder or a device)"));
}

// Nothing when there is no lock file (it was released meanwhile). A link, folder, pipe
// or device under the name is not a lock at all, and is never followed, opened or
// waited on: FileError NotRegular. A lock file we may not read is judged by its time.
std::optional<Holder> readHolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    Holder holder;
    struct stat info {
    };
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP)
            planted(path);
        if (::lstat(name.constData(), &info) != 0)
            return std::nullopt;
        if (!S_ISREG(info.st_mode))
            planted(path);
        holder.readable = false;
        holder.fileTime = msecs(info.st_mtim);
        return holder;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        planted(path);
    }
    holder.fileTime = msecs(info.st_mtim);
    char buffer[1024];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0)
            holder.text.append(buffer, got);
        if (holder.text.size() > 4096) // not ours: judged by its file time alone
            break;
    }
    ::close(fd);
    bool pidOk = false;
    for (const QByteArray &line : holder.text.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        if (equals < 0)
            continue;
        if (key == "host") {
            holder.host = value;
        } else if (key == "boot") {
            holder.boot = value;
        } else if (key == "pid") {
            holder.pid = value.toLongLong(&pidOk);
        } else if (key == "time") {
            bool ok = false;
            const qint64 time = value.toLongLong(&ok);
            if (ok)
                holder.time = time;
        }
    }
    if (!pidOk)
        holder.pid = 0;
    return holder;
}

bool processGone(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

bool isStale(const Holder &holder, std::chrono::milliseconds staleAge)
{
    const Machine &me = thisMachine();
    if (!me.host.isEmpty() && holder.host == me.host && holder.boot == me.boot && processGone(holder.pid))
        return true;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const auto recent = [&](qint64 time) { return std::llabs(now - time) <= staleAge.count(); };
    return !(holder.time && recent(*holder.time)) && !recent(holder.fileTime);
}

QString describe(const std::optional<Holder> &holder)
{
    if (!holder)
        return QStringLiteral("it was just released");
    if (!holder->readable)
        return QStringLiteral("its lock file cannot be read");
    if (!holder->time || holder->pid == 0)
        return QStringLiteral("its lock file names no holder yet");
    return QStringLiteral("on %1, process %2, since %3")
        .arg(QString::fromUtf8(holder->host))
        .arg(holder->pid)
        .arg(QDateTime::fromMSecsSinceEpoch(*holder->time).toString(QStringLiteral("HH:mm:ss")));
}

// 0, or the errno of the failure (EEXIST: the file is there already).
int createExclusive(const QString &path, const QByteArray &text)
{
    const QByteArray name = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno;
    // Readable by the copies of other users, whatever their umask: they judge it.
    ::fchmod(fd, 0644);
    qsizetype done = 0;
    int error = 0;
    while (done < text.size() && error == 0) {
        const ssize_t n = ::write(fd, text.constData() + done, std::size_t(text.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            error = errno;
    }
    // A network file system may report a failed write only at close.
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error != 0)
        ::unlink(name.constData());
    // Only the create's own EEXIST means that another copy holds the file.
    return error == EEXIST ? EIO : error;
}

// Removes a stale file only if it still holds what was judged stale.
bool removeIfUnchanged(const QString &path, const Holder &stale, std::chrono::milliseconds staleAge)
{
    const auto now = readHolder(path);
    return now && now->readable == stale.readable && now->text == stale.text && isStale(*now, staleAge)
           && ::unlink(QFile::encodeName(path).constData()) == 0;
}

// Breaks the stale lock at `lockPath` under the break lock `breakPath` (holding `ourText`),
// so that one copy breaks at a time. Returns whether it was removed.
bool breakStale(const QString &lockPath, const QString &breakPath, const QByteArray &ourText, const Holder &stale,
                std::chrono::milliseconds staleAge)
{
    const int error = createExclusive(breakPath, ourText);
    if (error == EEXIST) {
        // Another copy is breaking the lock, or crashed while it did.
        if (const auto breaker = readHolder(breakPath); breaker && isStale(*breaker, staleAge))
            removeIfUnchanged(breakPath, *breaker, staleAge);
        return false;
    }
    if (error != 0)
        return false;
    const bool broken = removeIfUnchanged(lockPath, stale, staleAge);
    ::unlink(QFile::encodeName(breakPath).constData());
    return broken;
}

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// When this process last released a lock, on the steady clock.
std::atomic<qint64> lastRelease{std::numeric_limits<qint64>::min() / 2};

void pauseAbout(std::chrono::milliseconds retry)
{
    const auto ms = int(retry.count());
    std::this_thread::sleep_for(std::chrono::milliseconds(QRandomGenerator::global()->bounded(ms, 2 * ms + 1)));
}

} // namespace

ListLock::ListLock(const DataPaths &paths, const QString &asWritten)
    : ListLock(paths, asWritten, Timing{})
{
}

ListLock::ListLock(const DataPaths &paths, const QString &asWritten, Timing timing)
    : m_timing(timing)
{
    const auto target = paths.forWriting(asWritten);
    if (!target)
        throw FileError(FileError::Kind::Refused, asWritten);
    m_lockPath = *target + QStringLiteral(".lock");
    m_breakPath = m_lockPath + QStringLiteral(".break");
    take(asWritten);
}

void ListLock::take(const QString &asWritten)
{
    QElapsedTimer waited;
    waited.start();
    // Waiters look every retry interval; a copy making changes in a row would take the
    // lock back the moment it let go, before any of them looked, and starve them. So
    // a copy that has just let go waits its turn like the others.
    if (steadyMs() - lastRelease < 2 * m_timing.retry.count())
        pauseAbout(m_timing.retry);
    for (;;) {
        m_text = holderText();
        const int error = createExclusive(m_lockPath, m_text);
        if (error == 0)
            return;
        if (error != EEXIST)
            throw FileError(writeErrorKind(error),
                            m_lockPath + QLatin1String(": ") + QString::fromLocal8Bit(std::strerror(error)));
        const auto holder = readHolder(m_lockPath);
        const bool broken = holder && isStale(*holder, m_timing.staleAge)
                            && breakStale(m_lockPath, m_breakPath, m_text, *holder, m_timing.staleAge);
        if (waited.hasExpired(m_timing.wait.count())) {
            throw FileError(FileError::Kind::Locked,
                            QStringLiteral("the list %1 is being changed by another copy of the program (%2)")
                                .arg(asWritten, describe(holder)));
        }
        // Released or broken: try again at once.
        if (holder && !broken)
            pauseAbout(m_timing.retry);
    }
}

ListLock::~ListLock()
{
    // A lock held past the stale age may have been broken and taken by another copy.
    try {
        const auto holder = readHolder(m_lockPath);
        if (holder && holder->text == m_text)
            ::unlink(QFile::encodeName(m_lockPath).constData());
    } catch (const FileError &) {
        // Something planted in its place since: not ours to remove.
    }
    lastRelease = steadyMs();
}

} // namespace velmora
