#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

#include <memory>

namespace velmora {

class HoverHighlight;
class Label;
class LinePrinter;
class Module1;
class OptionButton;
class Picture;
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
    // The heading over the questions: the opener's picture and title (the unit page's
    // portrait and the program's name, or the main menu's for a teacher's worksheet).
    void setHeading(const Picture &picture, const QString &title);
    void setHeading(const QString &pictureFile, const QString &title);
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
    void printHeading(LinePrinter &printer);
    void printQuestions(LinePrinter &printer);

    Module1 &m_m;
    std::unique_ptr<HoverHighlight> m_hover;
};

} // namespace velmora
