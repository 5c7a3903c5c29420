#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

#include <memory>

namespace velmora {

class CheckBox;
class HoverHighlight;
class Label;
class Module1;
class TextBox;
struct WorksheetDraft;

// The worksheet wizard: a teacher writes ten questions with four answers each, ticks
// the right answers, gives the worksheet a title and saves it. It opens empty from the
// main menu, or filled with a saved worksheet from the catalogue.
class wizard : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("wizard");
    static constexpr int kQuestions = 10;

    explicit wizard(Module1 &m);
    ~wizard() override;

    void load() override;

    // Checks the boxes in order (worksheetProblem, shared with the import of question
    // files) and saves when all is well; the first problem found is told to the teacher
    // and nothing is written.
    void genwork();

    // Fills every box and tick from the quiz set just read, for editing a saved worksheet.
    void fillFromQuizSet();

    TextBox *Text1;
    ControlArray<TextBox> Text2; // question j + 1
    ControlArray<TextBox> Text3; // answer k of question j + 1 at 4j + k
    ControlArray<CheckBox> Check1; // the tick of that answer
    ControlArray<Label> Label3; // 0 "Exit", 1 "Save Worksheet"

private:
    void saveworksheet();
    void trackworksheets();
    void keyPressed(TextBox &box, int key);
    WorksheetDraft fromBoxes() const;
    void tell(const QString &text);

    Module1 &m_m;
    std::unique_ptr<HoverHighlight> m_hover;
};

} // namespace velmora
