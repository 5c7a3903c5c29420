#pragma once

#include "fakes.h"
#include "module1/module1.h"
#include "platform/platform.h"
#include "recordingprinter.h"
#include "toolkit/formregistry.h"

#include <QPoint>
#include <QTemporaryDir>

class QWindow;

namespace velmora {
class Form;
class wizard;
} // namespace velmora

namespace velmora::test {

// The whole program wired with fakes for the message boxes, the desktop shell, a 1024
// by 768 screen and the printer, over a private copy of the supplied data folder.
class TestApp
{
public:
    // Given the data folder an earlier run left, the program is started again on that.
    explicit TestApp(bool withSuppliedData = true, const QString &existingData = {});
    ~TestApp();

    QString dataPath(const QString &relative) const;
    void writeDataFile(const QString &relative, const QByteArray &bytes) const;
    void removeDataFile(const QString &relative) const;

    // Lets posted deletions (unloaded forms) happen.
    static void settle();

    QTemporaryDir dir;
    QString root;
    FakeMessageBoxes messages;
    FakeDesktopShell shell;
    FakeScreen screen{1024, 768};
    RecordingPrintTarget printer;
    Platform platform;
    FormRegistry forms;
    Module1 m;
    bool ended = false;
};

// A point of a form in window pixels, from twips.
QPoint at(double xTwips, double yTwips);
// Real routed pointer events on the form's window (hit-testing and capture included).
void moveTo(Form &form, double xTwips, double yTwips);
void clickAt(Form &form, double xTwips, double yTwips);
// Fills every box of the wizard; the right answers run A, B, C, D, A, ...
void fillWizard(wizard &w, const QString &title);
// Shows a form and waits until its window is exposed.
bool showAndExpose(Form &form);

} // namespace velmora::test
