#include "module1.h"

#include "worksheetfile.h"

#include "platform/fileslot.h"
#include "platform/listlock.h"
#include "platform/platform.h"
#include "platform/screen.h"
#include "toolkit/control.h"
#include "toolkit/form.h"

namespace velmora {

namespace {
const QColor kFrameBackground(39, 63, 137);
const QColor kPictureBoxBackground(49, 135, 214);
constexpr double kFrameWidth = 12000;
constexpr double kFrameHeight = 9000;
} // namespace

QString number(long long value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

Module1::Module1(Platform &platform, FormRegistry &forms)
    : m_platform(platform)
    , m_forms(forms)
{
}

void Module1::setupform(Form &form) const
{
    form.setBackColor(kFrameBackground);
    form.setCaption(QStringLiteral("Velmora"));
    // Nothing below can leave the form half-framed: a form without Picture1 is normal.
    if (Control *picture = form.control(QStringLiteral("Picture1")))
        picture->setBackColor(kPictureBoxBackground);
    form.setFormSize(kFrameWidth, kFrameHeight);
    Screen &screen = m_platform.screen();
    screen.setBusy(true);
    const QSizeF size = screen.sizeTwips();
    // Negative when the screen is smaller than the form: the edge then cuts it off.
    form.setTop(size.height() / 2 - form.formHeight() / 2);
    form.setLeft(size.width() / 2 - form.formWidth() / 2);
    form.setCentred(true);
    screen.setBusy(false);
}

void Module1::loadquiz()
{
    FileSlot &file = m_platform.file1();
    worktitle = ampersandsToCommas(file.readField());
    file.readField(); // the single space of line 2
    for (std::size_t q = 1; q <= kQuestions; ++q) {
        for (auto *texts : {&quest, &ansa, &ansb, &ansc, &ansd})
            (*texts)[q] = ampersandsToCommas(file.readField());
        rightans[q] = file.readField();
        file.readField(); // the single space after each question
    }
}

void Module1::readtracklist(const QString &asWritten)
{
    FileSlot &file = m_platform.file1();
    file.openForInput(asWritten);
    const long long count = file.readNumber();
    if (count < 0)
        file.fail(FileError(FileError::Kind::BadNumber, QString::number(count)));
    trackcount = count;
    for (long long n = 1; n <= count; ++n) {
        if (n > kListCapacity)
            file.fail(FileError(FileError::Kind::Overflow, QStringLiteral("more than %1 titles").arg(kListCapacity)));
        tracklist[std::size_t(n)] = file.readField();
    }
    file.close();
}

namespace {
void writetracklist(FileSlot &file, long long count, const std::array<QString, Module1::kListCapacity + 1> &titles)
{
    file.openForOutput(kListFile);
    file.writeLine(number(count) + QLatin1Char(' '));
    for (long long i = 1; i <= count; ++i)
        file.writeLine(titles[std::size_t(i)]);
    file.close();
}
} // namespace

bool Module1::appendToWorksheetList(const QString &title)
{
    // Read afresh under the lock: a title another copy saved a moment ago is kept.
    const ListLock lock(m_platform.paths(), kListFile);
    return appendHoldingLock(title);
}

bool Module1::appendHoldingLock(const QString &title)
{
    readtracklist(kListFile);
    for (long long i = 1; i <= trackcount; ++i) {
        if (tracklist[std::size_t(i)] == title)
            return false;
    }
    if (trackcount >= kListCapacity)
        throw FileError(FileError::Kind::Overflow, QStringLiteral("the list holds %1 titles").arg(kListCapacity));
    tracklist[std::size_t(trackcount + 1)] = title;
    writetracklist(m_platform.file1(), trackcount + 1, tracklist);
    return true;
}

bool Module1::saveNewWorksheet(const Worksheet &sheet)
{
    const QString title = listTitle(sheet.title);
    const ListLock lock(m_platform.paths(), kListFile);
    readtracklist(kListFile);
    for (long long i = 1; i <= trackcount; ++i) {
        if (tracklist[std::size_t(i)].compare(title, Qt::CaseInsensitive) == 0)
            return false;
    }
    const QString name = worksheetFile(title);
    if (m_platform.paths().existing(name))
        return false;
    // A full list is found before the file is written, not after.
    if (trackcount >= kListCapacity)
        throw FileError(FileError::Kind::Overflow, QStringLiteral("the list holds %1 titles").arg(kListCapacity));
    FileSlot &file = m_platform.file1();
    file.openForOutput(name);
    writeworksheet(file, sheet);
    file.close();
    appendHoldingLock(title);
    return true;
}

bool Module1::removeFromWorksheetList(const QString &title)
{
    const ListLock lock(m_platform.paths(), kListFile);
    readtracklist(kListFile);
    long long position = 0;
    for (long long i = trackcount; i >= 1 && position == 0; --i) {
        if (tracklist[std::size_t(i)] == title)
            position = i;
    }
    // Without a match nothing moves: shifting from position 0 would drop another title.
    if (position == 0)
        return false;
    // The list in memory changes only once the file has.
    auto titles = tracklist;
    for (long long i = position; i < trackcount; ++i)
        titles[std::size_t(i)] = titles[std::size_t(i + 1)];
    titles[std::size_t(trackcount)].clear();
    writetracklist(m_platform.file1(), trackcount - 1, titles);
    tracklist = titles;
    trackcount -= 1;
    return true;
}

} // namespace velmora
