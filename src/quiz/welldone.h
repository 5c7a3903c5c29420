#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

#include <memory>

namespace velmora {

class HoverHighlight;
class Label;
class LinePrinter;
class Module1;
class PictureBox;
class TextBox;
class Timer;

// The results of a quiz: the score in one of three wordings, then either the name box
// and "Print Certificate" (every answer right) or "Check Wrong Answers".
class Welldone : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("Welldone");

    explicit Welldone(Module1 &m);
    ~Welldone() override;

    void load() override;
    // Closing the window closes the wrong answers too, as "Exit" does.
    void closeRequested() override;

    // Shown by the quiz at its end: the hint and the first entry ("Print Certificate"
    // or "Check Wrong Answers"), which wait hidden until then.
    void showResults();

    // Prints the certificate on the default printer and tells the pupil; a printer
    // failure is told too, and the screen stays as it was.
    void Printpage();

    Label *Label4;
    PictureBox *Picture1;
    ControlArray<Label> Label3;
    Label *Label1;
    Label *Label5;
    TextBox *Text1;
    Label *Label2;
    Timer *Timer1;
    Timer *Timer2;

private:
    void Label3_Click(int index);
    void Timer1_Timer();
    void Timer2_Timer();
    void printAward(LinePrinter &printer);
    void printFrames(LinePrinter &printer);

    Module1 &m_m;
    std::unique_ptr<HoverHighlight> m_hover;
};

} // namespace velmora
