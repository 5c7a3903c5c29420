#include "dragboard.h"

#include "module1/entries.h"
#include "module1/module1.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "toolkit/screenfont.h"

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
    }
    for (const auto &[index, button] : m_c.buttons)
        button->onClick = [this, i = index] { click(i); };
}

void DragBoard::addButtons(Form &form, ControlArray<Label> &buttons)
{
    const QFont font = screenFont(QStringLiteral("Tahoma"), 15.75);
    const QString name = QStringLiteral("Label3");
    addEntry(form, buttons, name, {0, QStringLiteral("Exit"), 10560, 7920, 1245, 495}, font);
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

void DragBoard::click(int button)
{
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
