#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/form.h"

#include <memory>

namespace velmora {

class DragBoard;
class Label;
class Line;
class Module1;
class RectangleOutline;

// Label the cross-section of Ardovin's telescope: six key words to drag into the
// numbered boxes around the drawing. The pointer over a key word explains that part.
class telescope : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("telescope");

    explicit telescope(Module1 &m);
    ~telescope() override;

    void load() override;

    ControlArray<Label> Label2; // key words
    ControlArray<Label> Label1; // boxes
    ControlArray<Label> Label4; // home slots
    ControlArray<Label> Label3; // buttons
    ControlArray<Line> Line1; // leader lines
    Label *Label5; // heading
    Label *Label8; // description
    Label *Label7; // instruction
    Label *Label6; // score
    RectangleOutline *Shape1;

    DragBoard &board() const { return *m_board; }

private:
    Module1 &m_m;
    std::unique_ptr<DragBoard> m_board;
};

} // namespace velmora
