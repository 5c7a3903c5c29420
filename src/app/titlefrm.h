#pragma once

#include "toolkit/form.h"

namespace velmora {

class CommandButton;
class Frame;
class Label;
class Module1;
class PictureBox;

// The title screen: the start-up form, and again the exit confirmation of the main
// menu (with "Cancel" in place of "OK").
class Titlefrm : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("Titlefrm");
    // The telescope under the night sky, the first picture the program shows.
    static inline const QString kPicture = QStringLiteral("Images\\quintaransm.jpg");

    explicit Titlefrm(Module1 &m);

    void load() override;
    // Closing the window ends the program, as "Exit" does.
    void closeRequested() override;
    // Escape never ends the program: it is "Cancel" on the exit confirmation and does
    // nothing on the first title screen.
    void escapePressed() override;

    // The main menu's exit confirmation: the title screen with "Cancel" for "OK".
    void showAsExitConfirmation();

    Frame *Frame1;
    Label *Label4;
    PictureBox *Picture1;
    Label *Label1;
    Label *Label2;
    CommandButton *Command1;
    CommandButton *Command2;

private:
    void Command1_Click();
    void Command2_Click();

    Module1 &m_m;
};

} // namespace velmora
