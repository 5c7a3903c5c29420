#include "safefile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// An open file descriptor that closes itself.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// What the name holds now, without following a link: 0 when nothing.
mode_t kindAt(const QByteArray &path)
{
    struct stat info {
    };
    if (::lstat(path.constData(), &info) != 0)
        return 0;
    return info.st_mode & S_IFMT;
}

} // namespace

FileError::Kind writeErrorKind(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileError::Kind::DiskFull;
    case EROFS:
    case EACCES:
    case EPERM:
        return FileError::Kind::ReadOnly;
    case ENOENT:
    case ENOTDIR:
        return FileError::Kind::NotFound;
    case EINVAL:
    case EILSEQ:
    case ENAMETOOLONG:
        return FileError::Kind::Refused; // a name this folder's file system cannot hold
    default:
        return FileError::Kind::WriteFailed;
    }
}

QByteArray readRegularFile(const QString &path, qint64 maxBytes)
{
    const QByteArray native = QFile::encodeName(path);
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    const Descriptor fd(::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ELOOP)
            throw FileError(FileError::Kind::NotRegular, path + QStringLiteral(" is a link"));
        throw FileError(error == ENOENT || error == ENOTDIR ? FileError::Kind::NotFound : FileError::Kind::ReadFailed,
                        path + QStringLiteral(": ") + errorText(error));
    }
    struct stat info {
    };
    if (::fstat(fd.get(), &info) != 0)
        throw FileError(FileError::Kind::ReadFailed, path + QStringLiteral(": ") + errorText(errno));
    if (!S_ISREG(info.st_mode))
        throw FileError(FileError::Kind::NotRegular, path + QStringLiteral(" is not an ordinary file"));
    if (info.st_size > maxBytes)
        throw FileError(FileError::Kind::TooLarge, path);
    // Reads stop one byte past the limit: a file that grew since fstat is still refused.
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes)
                throw FileError(FileError::Kind::TooLarge, path);
            bytes.resize(qMin<qsizetype>(bytes.size() + 65536, maxBytes + 1));
        }
        const ssize_t got = ::read(fd.get(), bytes.data() + filled, std::size_t(bytes.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(FileError::Kind::ReadFailed, path + QStringLiteral(": ") + errorText(errno));
        }
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled);
    if (bytes.size() > maxBytes)
        throw FileError(FileError::Kind::TooLarge, path);
    return bytes;
}

AtomicFile::AtomicFile(const QString &path, const QString &shownName)
    : m_path(path)
    , m_shownName(shownName)
{
    const QByteArray native = QFile::encodeName(path);
    const mode_t kind = kindAt(native);
    if (kind != 0 && kind != S_IFREG)
        throw FileError(FileError::Kind::NotRegular, shownName + QStringLiteral(" is not an ordinary file"));
    QByteArray pattern = native + ".XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        fail(errno, QStringLiteral("create"));
    m_temporary = QFile::decodeName(pattern);
    // mkostemp makes the file private; a shared folder needs it as readable as a file
    // the user creates there, or as the one it replaces.
    struct stat old {
    };
    mode_t mode = 0;
    if (kind == S_IFREG && ::stat(native.constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(m_fd, mode) != 0)
        fail(errno, QStringLiteral("set permissions"));
}

AtomicFile::~AtomicFile()
{
    cancel();
}

void AtomicFile::write(const QByteArray &bytes)
{
    m_bytes += bytes;
}

void AtomicFile::commit()
{
    if (m_fd < 0)
        throw FileError(FileError::Kind::NotOpen, m_shownName);
    qsizetype written = 0;
    while (written < m_bytes.size()) {
        const ssize_t put = ::write(m_fd, m_bytes.constData() + written, std::size_t(m_bytes.size() - written));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, QStringLiteral("write"));
        }
        written += put;
    }
    if (::fsync(m_fd) != 0)
        fail(errno, QStringLiteral("sync"));
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(QFile::encodeName(m_temporary).constData());
        m_temporary.clear();
        throw FileError(writeErrorKind(error), m_shownName + QStringLiteral(": ") + errorText(error));
    }
    // Checked again just before the name changes hands: a link planted meanwhile is
    // replaced by rename() rather than followed, but the teacher is told, not ignored.
    const QByteArray native = QFile::encodeName(m_path);
    const mode_t kind = kindAt(native);
    const QByteArray temporary = QFile::encodeName(m_temporary);
    if (kind != 0 && kind != S_IFREG) {
        ::unlink(temporary.constData());
        m_temporary.clear();
        throw FileError(FileError::Kind::NotRegular, m_shownName + QStringLiteral(" is not an ordinary file"));
    }
    if (::rename(temporary.constData(), native.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        m_temporary.clear();
        throw FileError(error == EISDIR ? FileError::Kind::NotRegular : writeErrorKind(error),
                        m_shownName + QStringLiteral(": ") + errorText(error));
    }
    m_temporary.clear();
}

void AtomicFile::cancel()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(QFile::encodeName(m_temporary).constData());
        m_temporary.clear();
    }
}

void AtomicFile::fail(int error, const QString &what)
{
    cancel();
    throw FileError(writeErrorKind(error),
                    m_shownName + QStringLiteral(": cannot ") + what + QStringLiteral(", ") + errorText(error));
}

} // namespace velmora
