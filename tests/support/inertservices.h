#pragma once

// Services that do nothing, for programs that exercise the file code without screens
// (fuzz targets, benchmarks).
#include "module1/module1.h"
#include "platform/desktopshell.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "platform/printer.h"
#include "platform/screen.h"
#include "toolkit/formregistry.h"

namespace velmora::test {

class InertMessageBoxes : public MessageBoxes
{
public:
    void ok(const QString &, const QString &) override {}
    bool okCancel(const QString &, const QString &) override { return false; }
};

class InertDesktopShell : public DesktopShell
{
public:
    void open(const QString &, QWidget *) override {}
};

class InertScreen : public Screen
{
public:
    QSizeF sizeTwips() const override { return {15360, 11520}; }
    void setBusy(bool) override {}
};

// A system without a printer.
class NoPrintTarget : public PrintTarget
{
public:
    void begin() override { throw PrintError(QStringLiteral("no printer")); }
    QSizeF printableSize() const override { return {}; }
    double textWidth(const QFont &, const QString &) const override { return 0; }
    double lineHeight(const QFont &) const override { return 0; }
    void drawText(double, double, const QFont &, const QColor &, const QString &) override {}
    void drawLine(double, double, double, double, double, const QColor &) override {}
    void drawPicture(double, double, const Picture &) override {}
    void newPage() override {}
    void end() override {}
    void abort() override {}
};

// The program's shared module and file layer over a data folder, with no screens.
struct InertProgram {
    explicit InertProgram(const QString &root)
        : platform(root, messages, shell, screen, printer)
        , m(platform, forms)
    {
    }

    InertMessageBoxes messages;
    InertDesktopShell shell;
    InertScreen screen;
    NoPrintTarget printer;
    Platform platform;
    FormRegistry forms;
    Module1 m;
};

} // namespace velmora::test
