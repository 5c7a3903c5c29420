#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"
#include "toolkit/hoverhighlight.h"

#include <memory>

namespace velmora {

class Frame;
class Image;
class Label;
class Module1;
class OptionButton;
class Timer;

// The main menu: the hub of the program. It lists this title's scientist among the
// series, opens the guide, the acknowledgments, the worksheet wizard and catalogue,
// links to the publisher's site and leads to the exit confirmation. Shortly after it
// opens it reads the worksheet list into memory.
class intro0 : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("intro0");

    explicit intro0(Module1 &m);
    ~intro0() override;

    void load() override;
    // Closing the window asks for the exit confirmation, as the "Exit" entry does.
    void closeRequested() override;
    // The menu's "Exit" leads to the exit confirmation, not back: Escape does nothing.
    void escapePressed() override {}

    Label *Label1;
    OptionButton *Option1;
    OptionButton *Option2;
    Frame *Frame1;
    Image *Image1;
    Image *Image2;
    Label *Label3;
    Timer *Timer1;
    ControlArray<Label> Label2;

private:
    void Label2_Click(int index);
    void Timer1_Timer();
    void openPublisherSite();
    void openAcknowledgments();
    void openGuide();

    Module1 &m_m;
    std::unique_ptr<HoverHighlight> m_hover;
    int m_ticksWaited = 0;
};

} // namespace velmora
