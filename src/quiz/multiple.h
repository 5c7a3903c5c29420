#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

#include <memory>

namespace velmora {

class HoverHighlight;
class Label;
class Module1;
class OptionButton;
class PictureBox;

// The multiple-choice quiz: the ten questions of the quiz set one at a time. A choice
// counts only when the pupil leaves the question forward; every question shows with
// nothing chosen. At the end the quiz fills the wrong answers, shows the results and
// closes itself.
class multiple : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("multiple");
    static constexpr int kNoChoice = 5;

    explicit multiple(Module1 &m);
    ~multiple() override;

    void load() override;
    void showquest();
    // Prints the quiz set as a paper worksheet and tells the teacher; a printer failure
    // is told too. The quiz on screen does not change.
    void Printpage();

    Label *Label1;
    Label *Label5;
    Label *Label6;
    PictureBox *Picture1;
    Label *Label4;
    Label *Label2;
    ControlArray<OptionButton> Option1;
    ControlArray<Label> Label3;

private:
    void Label3_Click(int index);
    void endOfQuiz();

    Module1 &m_m;
    std::unique_ptr<HoverHighlight> m_hover;
};

} // namespace velmora
