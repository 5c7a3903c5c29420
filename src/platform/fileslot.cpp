#include "fileslot.h"

#include "datapaths.h"
#include "safefile.h"
#include "windows1252.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace velmora {

FileError::FileError(Kind kind, const QString &detail)
    : std::runtime_error(detail.toStdString())
    , m_kind(kind)
    , m_detail(detail)
{
}

FileSlot::FileSlot(const DataPaths &paths)
    : m_paths(paths)
{
}

FileSlot::~FileSlot()
{
    abandon();
}

bool FileSlot::isOpen() const
{
    return m_inputOpen || m_output;
}

void FileSlot::fail(const FileError &error)
{
    abandon();
    throw error;
}

void FileSlot::openForInput(const QString &asWritten)
{
    if (isOpen())
        fail(FileError(FileError::Kind::AlreadyOpen, asWritten));
    const auto path = m_paths.existing(asWritten);
    if (!path)
        fail(FileError(FileError::Kind::NotFound, asWritten));
    try {
        m_input = readRegularFile(*path, kMaxFileBytes);
    } catch (const FileError &error) {
        fail(FileError(error.kind(), asWritten + QLatin1String(": ") + error.detail()));
    }
    m_pos = 0;
    m_inputOpen = true;
}

void FileSlot::openForOutput(const QString &asWritten)
{
    if (isOpen())
        fail(FileError(FileError::Kind::AlreadyOpen, asWritten));
    const auto path = m_paths.forWriting(asWritten);
    if (!path)
        fail(FileError(FileError::Kind::Refused, asWritten));
    try {
        m_output = std::make_unique<AtomicFile>(*path, asWritten);
    } catch (const FileError &error) {
        fail(error);
    }
    m_outputName = asWritten;
}

bool FileSlot::atEnd() const
{
    return !m_inputOpen || m_pos >= m_input.size();
}

QString FileSlot::readField()
{
    if (!m_inputOpen)
        fail(FileError(FileError::Kind::NotOpen, QStringLiteral("read")));
    if (m_pos >= m_input.size())
        fail(FileError(FileError::Kind::PastEnd, QStringLiteral("input past end of file")));
    const qsizetype size = m_input.size();
    while (m_pos < size && (m_input[m_pos] == ' ' || m_input[m_pos] == '\t'))
        ++m_pos;
    const qsizetype start = m_pos;
    while (m_pos < size && m_input[m_pos] != ',' && m_input[m_pos] != '\r' && m_input[m_pos] != '\n')
        ++m_pos;
    const QByteArray field = m_input.mid(start, m_pos - start);
    if (m_pos < size) {
        const char end = m_input[m_pos++];
        if (end == '\r' && m_pos < size && m_input[m_pos] == '\n')
            ++m_pos;
    }
    return fromWindows1252(field);
}

long long FileSlot::readNumber()
{
    const QString field = readField().trimmed();
    bool ok = false;
    const long long value = field.toLongLong(&ok);
    if (!ok)
        fail(FileError(FileError::Kind::BadNumber, field));
    return value;
}

void FileSlot::writeLine(const QString &text)
{
    if (!m_output)
        fail(FileError(FileError::Kind::NotOpen, QStringLiteral("write")));
    // A line break inside a text would shift every line after it.
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        fail(FileError(FileError::Kind::Unencodable, QStringLiteral("line break")));
    const auto bytes = toWindows1252(text);
    if (!bytes)
        fail(FileError(FileError::Kind::Unencodable, firstUnencodable(text)));
    m_output->write(*bytes + QByteArrayLiteral("\r\n"));
}

void FileSlot::close()
{
    m_inputOpen = false;
    m_input.clear();
    m_pos = 0;
    if (!m_output)
        return;
    std::unique_ptr<AtomicFile> file = std::move(m_output);
    file->commit(); // on failure the old file stays whole and the slot is closed
}

void FileSlot::abandon()
{
    m_inputOpen = false;
    m_input.clear();
    m_pos = 0;
    m_output.reset(); // drops the temporary file
}

int removeStrayTemporaries(const QString &folderPath, int minimumAgeSeconds)
{
    const QDateTime youngest = QDateTime::currentDateTimeUtc().addSecs(-minimumAgeSeconds);
    // Every file the program writes ends in ".txt"; its temporary adds six letters.
    static const QRegularExpression temporary(QStringLiteral("^.+\\.txt\\.[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QDir folder(folderPath);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (!temporary.match(name).hasMatch())
            continue;
        const QFileInfo info(folder.filePath(name));
        if (minimumAgeSeconds > 0 && info.lastModified().toUTC() > youngest)
            continue;
        if (QFile::remove(info.filePath()))
            ++removed;
    }
    return removed;
}

} // namespace velmora
