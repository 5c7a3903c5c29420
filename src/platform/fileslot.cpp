#include "fileslot.h"

#include "datapaths.h"
#include "windows1252.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

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

void FileSlot::openForInput(const QString &asWritten)
{
    if (isOpen())
        throw FileError(FileError::Kind::AlreadyOpen, asWritten);
    const auto path = m_paths.existing(asWritten);
    if (!path)
        throw FileError(FileError::Kind::NotFound, asWritten);
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(FileError::Kind::NotFound, asWritten + QLatin1String(": ") + file.errorString());
    m_input = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(FileError::Kind::NotFound, asWritten + QLatin1String(": ") + file.errorString());
    m_pos = 0;
    m_inputOpen = true;
}

void FileSlot::openForOutput(const QString &asWritten)
{
    if (isOpen())
        throw FileError(FileError::Kind::AlreadyOpen, asWritten);
    const auto path = m_paths.forWriting(asWritten);
    if (!path)
        throw FileError(FileError::Kind::Refused, asWritten);
    auto file = std::make_unique<QSaveFile>(*path);
    if (!file->open(QIODevice::WriteOnly))
        throw FileError(FileError::Kind::WriteFailed, asWritten + QLatin1String(": ") + file->errorString());
    m_output = std::move(file);
    m_outputName = asWritten;
}

bool FileSlot::atEnd() const
{
    return !m_inputOpen || m_pos >= m_input.size();
}

QString FileSlot::readField()
{
    if (!m_inputOpen)
        throw FileError(FileError::Kind::NotOpen, QStringLiteral("read"));
    if (m_pos >= m_input.size())
        throw FileError(FileError::Kind::PastEnd, QStringLiteral("input past end of file"));
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
        throw FileError(FileError::Kind::BadNumber, field);
    return value;
}

void FileSlot::writeLine(const QString &text)
{
    if (!m_output)
        throw FileError(FileError::Kind::NotOpen, QStringLiteral("write"));
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        // A line break inside a text would shift every line after it.
        abandon();
        throw FileError(FileError::Kind::Unencodable, QStringLiteral("line break"));
    }
    const auto bytes = toWindows1252(text);
    if (!bytes) {
        const QString bad = firstUnencodable(text);
        abandon();
        throw FileError(FileError::Kind::Unencodable, bad);
    }
    const QByteArray line = *bytes + QByteArrayLiteral("\r\n");
    if (m_output->write(line) != line.size()) {
        const QString why = m_output->errorString();
        abandon();
        throw FileError(FileError::Kind::WriteFailed, m_outputName + QLatin1String(": ") + why);
    }
}

void FileSlot::close()
{
    m_inputOpen = false;
    m_input.clear();
    m_pos = 0;
    if (!m_output)
        return;
    // QSaveFile::commit() can report success after a failed buffered write (a full
    // disk), so flush first and give up on any failure: the old file stays whole.
    std::unique_ptr<QSaveFile> file = std::move(m_output);
    const bool written = file->error() == QFileDevice::NoError && file->flush();
    if (!written || !file->commit()) {
        const QString why = file->errorString();
        file->cancelWriting();
        throw FileError(FileError::Kind::WriteFailed, m_outputName + QLatin1String(": ") + why);
    }
}

void FileSlot::abandon()
{
    m_inputOpen = false;
    m_input.clear();
    m_pos = 0;
    if (m_output) {
        m_output->cancelWriting();
        m_output.reset();
    }
}

int removeStrayTemporaries(const QString &folderPath)
{
    // Every file the program writes ends in ".txt"; its temporary adds six letters.
    static const QRegularExpression temporary(QStringLiteral("^.+\\.txt\\.[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QDir folder(folderPath);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (temporary.match(name).hasMatch() && QFile::remove(folder.filePath(name)))
            ++removed;
    }
    return removed;
}

} // namespace velmora
