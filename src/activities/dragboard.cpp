#include "dragboard.h"

#include "module1/entries.h"
#include "module1/module1.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "toolkit/screenfont.h"

#include <algorithm>
#include <vector>

namespace velmora {

DragBoard::DragBoard(Form &form, Module1 &m, Controls controls, Hooks hooks)
    : m_form(form)
    , m_m(m)
    , m_c(std::move(controls))
    , m_hooks(std::move(hooks))
{
    m_hover = std::make_unique<HoverHighlight>(form, m_c.buttons, HoverHighlight::Rule{indexRange(0, 2), true});
    m_form.onMouseMove = [this](const MouseArgs &) {
        m_hover->clear();
        if (m_hooks.overBareScreen)
            m_hooks.overBareScreen();
    };
    for (const auto &[index, label] : m_c.labels) {
        label->onMouseMove = [this, i = index](const MouseArgs &args) {
            if (m_hooks.overLabel)
                m_hooks.overLabel(i);
            drag(i, args);
        };
        // The release of any button drops the label; which button is not looked at.
        label->onMouseUp = [this, i = index](const MouseArgs &) { drop(i); };
        label->onKeyDown = [this, i = index](int k) { return key(i, k); };
    }
    // Boxes and home slots are places, not things to press.
    for (const auto &[index, box] : m_c.boxes)
        box->setClickable(false);
    for (const auto &[index, home] : m_c.homes)
        home->setClickable(false);
    for (const auto &[index, button] : m_c.buttons)
        button->onClick = [this, i = index] { click(i); };
}

void DragBoard::addButtons(Form &form, ControlArray<Label> &buttons)
{
    const QFont font = screenFont(kTahoma, 15.75);
    const QString name = QStringLiteral("Label3");
    addEntry(form, buttons, name, exitEntry(0), font);
    addEntry(form, buttons, name, {1, QStringLiteral("Start Again"), 3360, 7920, 2565, 495}, font);
    addEntry(form, buttons, name, {2, QStringLiteral("Check Score"), 6000, 7920, 2565, 495}, font)->setVisible(false);
}

int DragBoard::count() const
{
    return qBound(0, m_m.total, m_c.labels.size());
}

void DragBoard::arrange(const std::function<QString(int)> &boxText)
{
    for (int i = 0; i < count(); ++i) {
        Label &label = m_c.labels[i];
        Label &box = m_c.boxes[i];
        Label &home = m_c.homes[i];
        home.setWidth(label.width());
        home.setHeight(label.height());
        label.setCaption(box.caption());
        box.setCaption(boxText(i));
        box.setBackStyle(BackStyle::Transparent);
        box.setVisible(true);
        home.move(label.left(), label.top());
        label.setVisible(true);
        home.setVisible(true);
    }
}

bool DragBoard::inDropWindow(const Label &target, double x, double y)
{
    return target.left() - target.width() / 2 < x && x < target.left() + target.width()
           && target.top() - target.height() / 2 < y && y < target.top() + target.height();
}

void DragBoard::placeOn(Label &label, const Label &target) const
{
    label.move(target.left(), target.top());
}

void DragBoard::drag(int i, const MouseArgs &args)
{
    // Left alone drags; left and right together do not.
    if (args.buttons != LeftButton)
        return;
    if (m_carried >= 0) {
        // The mouse takes over: another label's drag lets the carried one go where it
        // is; the carried label itself simply goes on with the mouse.
        if (m_carried != i) {
            putDown(true);
        } else {
            m_c.labels[i].setLifted(false);
            m_c.labels[i].setAccessibleDescription(QString());
            m_carried = -1;
        }
    }
    Label &label = m_c.labels[i];
    label.move(label.left() + args.x - label.width() / 2, label.top() + args.y - label.height() / 2);
}

void DragBoard::drop(int i)
{
    Label &label = m_c.labels[i];
    m_c.scoreText->setVisible(false);
    for (int t = 0; t < count(); ++t) {
        if (inDropWindow(m_c.boxes[t], label.left(), label.top()))
            placeOn(label, m_c.boxes[t]);
        if (inDropWindow(m_c.homes[t], label.left(), label.top()))
            placeOn(label, m_c.homes[t]);
    }
    // Pairs, not boxes: six labels on boxes show the button even if two share a box.
    int pairs = 0;
    for (int j = 0; j < count(); ++j) {
        for (int k = 0; k < count(); ++k) {
            const Label &l = m_c.labels[j];
            const Label &b = m_c.boxes[k];
            pairs += l.left() == b.left() && l.top() == b.top() ? 1 : 0;
        }
    }
    if (pairs == m_m.total)
        m_c.buttons[2].setVisible(true);
}

bool DragBoard::key(int i, int key)
{
    const bool activate = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (m_carried != i) {
        if (!activate || i >= count())
            return false;
        pickUp(i);
        return true;
    }
    const int stops = count() + 1;
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        carryTo((m_stop + 1) % stops);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
        carryTo((m_stop + stops - 1) % stops);
        return true;
    case Qt::Key_Home:
    case Qt::Key_0:
        carryTo(0);
        return true;
    case Qt::Key_Escape:
        putDown(false);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Tab leaves the label where it is carried, as a mouse would let go of it.
        putDown(true);
        return false;
    default:
        break;
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_9 && key - Qt::Key_0 <= count()) {
        carryTo(key - Qt::Key_0);
        return true;
    }
    if (activate) {
        putDown(true);
        return true;
    }
    return true; // nothing else happens to a carried label
}

void DragBoard::pickUp(int i)
{
    if (m_carried >= 0)
        putDown(false);
    Label &label = m_c.labels[i];
    m_carried = i;
    m_pickedFrom = QPointF(label.left(), label.top());
    m_stop = 0;
    for (int k = 1; k <= count(); ++k) {
        const Label &box = boxAt(k);
        if (label.left() == box.left() && label.top() == box.top())
            m_stop = k;
    }
    label.setLifted(true);
    label.setAccessibleDescription(QStringLiteral("Picked up, on %1. Arrows or the numbers move it, "
                                                  "Enter puts it down, Escape puts it back.")
                                       .arg(stopName(m_stop)));
}

void DragBoard::carryTo(int stop)
{
    Label &label = m_c.labels[m_carried];
    m_stop = stop;
    placeOn(label, stop == 0 ? m_c.homes[m_carried] : boxAt(stop));
    label.setAccessibleDescription(QStringLiteral("Picked up, on %1.").arg(stopName(stop)));
}

void DragBoard::putDown(bool dropHere)
{
    const int i = m_carried;
    m_carried = -1;
    Label &label = m_c.labels[i];
    label.setLifted(false);
    label.setAccessibleDescription(QString());
    if (dropHere) {
        // Exactly what a mouse release at this place does.
        drop(i);
    } else {
        label.move(m_pickedFrom.x(), m_pickedFrom.y());
    }
}

const Label &DragBoard::boxAt(int stop) const
{
    // The boxes as the screen shows them, top to bottom, left to right.
    std::vector<const Label *> boxes;
    boxes.reserve(std::size_t(count()));
    for (int t = 0; t < count(); ++t)
        boxes.push_back(&m_c.boxes[t]);
    std::stable_sort(boxes.begin(), boxes.end(), [](const Label *a, const Label *b) {
        return std::pair(a->top(), a->left()) < std::pair(b->top(), b->left());
    });
    return *boxes[stop - 1];
}

QString DragBoard::stopName(int stop) const
{
    if (stop == 0)
        return QStringLiteral("its starting place");
    const Label &box = boxAt(stop);
    QString name = m_hooks.boxName ? m_hooks.boxName(box.index()) : box.caption().trimmed();
    if (name.isEmpty())
        name = QString::number(stop);
    return QStringLiteral("box %1").arg(name);
}

void DragBoard::click(int button)
{
    if (m_carried >= 0)
        putDown(false);
    m_m.score = 0;
    switch (button) {
    case 0:
        m_form.unload();
        break;
    case 1:
        m_c.scoreText->setVisible(false);
        for (int i = 0; i < count(); ++i)
            placeOn(m_c.labels[i], m_c.homes[i]);
        m_c.buttons[2].setVisible(false);
        break;
    case 2:
        for (int i = 0; i < count(); ++i) {
            const Label &l = m_c.labels[i];
            const Label &b = m_c.boxes[i];
            m_m.score += l.left() == b.left() && l.top() == b.top() ? 1 : 0;
        }
        m_c.scoreText->setCaption(QString::number(m_m.score) + QStringLiteral(" out of ") + QString::number(m_m.total)
                                  + QStringLiteral(" correct"));
        m_c.scoreText->setVisible(true);
        break;
    default:
        break;
    }
}

} // namespace velmora
