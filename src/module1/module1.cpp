#include "module1.h"

#include "platform/fileslot.h"
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
    screen.setBusy(false);
}

void Module1::readtracklist(const QString &asWritten)
{
    FileSlot &file = m_platform.file1();
    file.openForInput(asWritten);
    const long long count = file.readNumber();
    if (count < 0)
        throw FileError(FileError::Kind::BadNumber, QString::number(count));
    trackcount = count;
    for (long long n = 1; n <= count; ++n) {
        if (n > kListCapacity)
            throw FileError(FileError::Kind::Overflow, QStringLiteral("more than %1 titles").arg(kListCapacity));
        tracklist[std::size_t(n)] = file.readField();
    }
    file.close();
}

} // namespace velmora
