#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

#include <memory>

namespace velmora {

class HoverHighlight;
class Image;
class Label;
class Module1;

// The unit page of Ardovin Sevrani: the portrait over the globe, and the way to his
// key facts, the teacher's notes, the quiz and the two activities.
class ardovin : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("ardovin");

    explicit ardovin(Module1 &m);
    ~ardovin() override;

    void load() override;
    // Closing the window goes back to the main menu, as "Exit" does.
    void closeRequested() override;

    Label *Label1;
    Image *Image1;
    ControlArray<Label> Label3;

private:
    void Label3_Click(int index);
    void openPages(const QString &pagename);
    void startQuiz();

    Module1 &m_m;
    std::unique_ptr<HoverHighlight> m_hover;
};

} // namespace velmora
