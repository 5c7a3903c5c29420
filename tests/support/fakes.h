#pragma once

#include "platform/desktopshell.h"
#include "platform/messageboxes.h"
#include "platform/screen.h"

#include <QList>
#include <QStringList>

namespace velmora::test {

// Records every message box; okCancel answers from a script (OK when it runs out).
class FakeMessageBoxes : public MessageBoxes
{
public:
    struct Shown {
        QString text;
        QString title;
        bool withCancel;
        bool answeredOk = true; // what the box answered (always OK without Cancel)
    };

    void ok(const QString &text, const QString &title) override { shown.append({text, title, false}); }
    bool okCancel(const QString &text, const QString &title) override;

    QList<Shown> shown;
    QList<bool> answers;
};

class FakeDesktopShell : public DesktopShell
{
public:
    void open(const QString &address, QWidget *) override { opened.append(address); }

    QStringList opened;
};

// A screen of a chosen size that remembers the pointer it was last given.
class FakeScreen : public Screen
{
public:
    FakeScreen(int widthPixels, int heightPixels)
        : size(widthPixels * 15.0, heightPixels * 15.0)
    {
    }

    QSizeF sizeTwips() const override { return size; }
    void setBusy(bool busyNow) override { busy = busyNow; }

    QSizeF size;
    bool busy = false;
};

} // namespace velmora::test
