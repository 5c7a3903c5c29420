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
