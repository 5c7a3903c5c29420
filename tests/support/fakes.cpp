#include "fakes.h"

namespace velmora::test {

void FakeMessageBoxes::ok(const QString &text, const QString &title)
{
    shown.append({text, title, false});
}

bool FakeMessageBoxes::okCancel(const QString &text, const QString &title)
{
    const bool ok = answers.isEmpty() ? true : answers.takeFirst();
    shown.append({text, title, true, ok});
    return ok;
}

void FakeDesktopShell::open(const QString &address, QWidget *)
{
    opened.append(address);
}

FakeScreen::FakeScreen(int widthPixels, int heightPixels)
    : size(widthPixels * 15.0, heightPixels * 15.0)
{
}

QSizeF FakeScreen::sizeTwips() const
{
    return size;
}

void FakeScreen::setBusy(bool busyNow)
{
    busy = busyNow;
    ++busyCalls;
}

} // namespace velmora::test
