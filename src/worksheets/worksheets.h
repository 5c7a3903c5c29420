#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

#include <memory>

namespace velmora {

class CheckBox;
class HoverHighlight;
class Label;
class Module1;

// The worksheet catalogue: the saved worksheets' titles, 24 to a page. A click on a
// title runs the worksheet as a quiz, opens it in the wizard ("Edit Worksheet" ticked)
// or removes it from the list ("Delete Worksheet" ticked).
class worksheets : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("worksheets");
    static constexpr int kSlots = 24;
    static constexpr int kLastPage = 40;

    explicit worksheets(Module1 &m);
    ~worksheets() override;

    void load() override;
    // Closing the window goes back to the main menu, as "Exit" does.
    void closeRequested() override;

    void workpage();
    void editworksheet();
    void delworksheet();

    CheckBox *Check1;
    CheckBox *Check2;
    ControlArray<Label> Label2; // 0 "Exit", 1 to 24 the title slots
    ControlArray<Label> Label3; // 0 "<< Previous Page", 1 "Next Page >>"
    Label *Label4; // the page label

private:
    void titleClicked(int slot);
    void showTitle(int slot, long long entry);
    bool correctAnswersEditable() const;
    void exitToMenu();
    void redraw();

    Module1 &m_m;
    std::unique_ptr<HoverHighlight> m_hover;
};

} // namespace velmora
