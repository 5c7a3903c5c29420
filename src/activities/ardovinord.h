#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

#include <memory>

namespace velmora {

class DragBoard;
class Label;
class Line;
class Module1;

// Put six events of Ardovin's life in order: drag each into the box beside its year on
// the timeline.
class ardovinord : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("ardovinord");

    explicit ardovinord(Module1 &m);
    ~ardovinord() override;

    void load() override;
    // The unit's name over the timeline.
    void setHeading(const QString &heading);

    ControlArray<Label> Label2; // events
    ControlArray<Label> Label1; // boxes
    ControlArray<Label> Label4; // home slots
    ControlArray<Label> Label3; // buttons
    ControlArray<Line> Line2; // ticks 0 to 4 and 6
    Line *Line1; // the axis
    Label *Label5; // score
    Label *Label6; // heading, set by the unit page
    Label *Label8; // instruction
    Label *Label9; // hint
    Label *Label7; // years, top to bottom
    Label *Label10;
    Label *Label11;
    Label *Label12;
    Label *Label13;
    Label *Label14;

    DragBoard &board() const { return *m_board; }

private:
    Module1 &m_m;
    std::unique_ptr<DragBoard> m_board;
};

} // namespace velmora
