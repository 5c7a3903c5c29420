#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/hoverhighlight.h"
#include "toolkit/twips.h"

#include <QPointF>
#include <QString>

#include <functional>
#include <memory>

namespace velmora {

class Form;
class Label;
class Module1;

// The drag-and-drop board that both activities share. Labels are dragged with the left
// button (the label's centre follows the pointer) and dropped on a target by the drop
// rule; when every label lies on a box, "Check Score" appears and counts the labels
// lying on their own boxes. The board keeps no state of its own: where the labels lie
// is the whole state.
//
// A target's drop window reaches half the target's width to the left and a whole
// width to the right, half its height above and a whole height below, all bounds
// excluded. Targets are tried in the order box 0, home slot 0, box 1, home slot 1, ...
class DragBoard
{
public:
    struct Controls {
        ControlArray<Label> labels; // the draggable labels
        ControlArray<Label> boxes; // box i is the right place of label i
        ControlArray<Label> homes; // where the labels start
        ControlArray<Label> buttons; // 0 "Exit", 1 "Start Again", 2 "Check Score"
        Label *scoreText = nullptr;
    };
    struct Hooks {
        // The pointer moved over label i (before any dragging).
        std::function<void(int)> overLabel;
        // The pointer moved over bare screen (after the buttons' highlight is cleared).
        std::function<void()> overBareScreen;
        // What a screen reader calls box i (the box's own caption when not given).
        std::function<QString(int)> boxName;
    };

    DragBoard(Form &form, Module1 &m, Controls controls, Hooks hooks = {});

    // The three buttons every board has, at the bottom of the screen: 0 "Exit",
    // 1 "Start Again" and 2 "Check Score" (hidden until every label lies on a box).
    static void addButtons(Form &form, ControlArray<Label> &buttons);
    DragBoard(const DragBoard &) = delete;
    DragBoard &operator=(const DragBoard &) = delete;

    // The load step: the board holds `total` labels; each label takes its box's design
    // text, the box takes `boxText(i)`, and each home slot takes its label's place.
    void arrange(const std::function<QString(int)> &boxText);

    // Whether a corner at (x, y) lies in the drop window of `target`.
    static bool inDropWindow(const Label &target, double x, double y);
    // The drop rule for label i, as on the release of any button over it.
    void drop(int i);
    void drag(int i, const MouseArgs &args);
    void click(int button);

    // The keyboard's drag: Space or Enter on label i picks it up; while it is carried
    // the arrows (or the digits 1 to n, the boxes in reading order) move it from box to box and back to its home
    // slot, Enter or Space puts it down by the same drop rule as a mouse release, and
    // Escape returns it to where it was picked up. True when the key was used.
    bool key(int i, int key);
    // The label being carried by the keyboard, or -1.
    int carried() const { return m_carried; }

private:
    int count() const;
    void placeOn(Label &label, const Label &target) const;
    void pickUp(int i);
    void carryTo(int stop);
    void putDown(bool drop);
    QString stopName(int stop) const;
    // Stop k (1 to n) is the k-th box in reading order on the screen.
    const Label &boxAt(int stop) const;

    Form &m_form;
    Module1 &m_m;
    Controls m_c;
    Hooks m_hooks;
    std::unique_ptr<HoverHighlight> m_hover;
    int m_carried = -1;
    int m_stop = 0; // where the carried label is: 0 its home slot, k box k - 1
    QPointF m_pickedFrom;
};

} // namespace velmora
