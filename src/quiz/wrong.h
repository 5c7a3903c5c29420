#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

namespace velmora {

class Label;
class Module1;

// The list of the questions answered wrongly, under the quiz's title. The quiz fills
// it, hidden, at the end of every quiz; the results screen shows it.
class Wrong : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("Wrong");
    static constexpr int kLines = 10;

    explicit Wrong(Module1 &m);

    void load() override;
    // Closing the window closes the results too, as "Exit" does.
    void closeRequested() override;

    // The quiz's title over the list.
    void setQuizTitle(const QString &title);
    // Shows a wrongly answered question ("3. What ...") on line `line`, from 0.
    void listWrongAnswer(int line, const QString &text);

    Label *Label6;
    Label *Label4;
    ControlArray<Label> Label2;
    Label *Label5;
    ControlArray<Label> Label3;

private:
    void exitBoth();

    Module1 &m_m;
};

} // namespace velmora
