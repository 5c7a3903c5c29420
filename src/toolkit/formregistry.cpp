#include "formregistry.h"

#include "form.h"
#include "timer.h"
#include "windowmanagerhints.h"

#include <QApplication>
#include <QWindow>

#include <algorithm>

namespace velmora {

FormRegistry::FormRegistry() = default;

FormRegistry::~FormRegistry()
{
    m_closingAll = true;
    const auto slots = m_slots;
    m_slots.clear();
    for (const QPointer<Form> &form : slots)
        destroy(form, true);
}

void FormRegistry::define(const QString &name, const Factory &factory)
{
    m_factories.insert(name, factory);
}

Form &FormRegistry::ref(const QString &name)
{
    if (Form *form = m_slots.value(name))
        return *form;
    const auto factory = m_factories.constFind(name);
    Q_ASSERT_X(factory != m_factories.constEnd(), "FormRegistry::ref", "no such form");
    Form *form = (*factory)();
    form->m_registry = this;
    // The form is in its slot before its load handler runs, so a reference from inside
    // the load handler finds it instead of building a second one.
    m_slots.insert(name, form);
    form->load();
    form->applyReadingOrder();
    return *form;
}

Form *FormRegistry::loaded(const QString &name) const
{
    return m_slots.value(name);
}

QList<Form *> FormRegistry::loadedForms() const
{
    QList<Form *> out;
    for (const QPointer<Form> &form : m_slots) {
        if (form)
            out.append(form);
    }
    return out;
}

void FormRegistry::unload(Form &form)
{
    const QString name = form.formName();
    if (m_slots.value(name) != &form)
        return; // already unloaded
    const bool wasActive = form.isActiveWindow();
    m_slots.remove(name);
    m_stack.removeAll(&form);
    m_covered.removeAll(&form);
    m_shownOnce.removeAll(&form);
    // The forms opened from this one now stand over its own opener.
    Form *opener = m_openedFrom.take(&form);
    for (Form *other : loadedForms()) {
        if (m_openedFrom.value(other) == &form)
            setOpener(*other, opener);
    }
    destroy(&form, false);
    // The keyboard goes on in the screen now in front, as it would after a mouse click.
    if (Form *top = wasActive ? front() : nullptr)
        top->activateWindow();
}

void FormRegistry::destroy(Form *form, bool now)
{
    if (!form)
        return;
    for (Timer *timer : form->timers())
        timer->setEnabled(false);
    form->m_registry = nullptr;
    form->hide();
    if (now)
        delete form;
    else
        form->deleteLater();
}

void FormRegistry::end()
{
    m_ended = true;
    m_closingAll = true;
    const auto slots = m_slots;
    m_slots.clear();
    m_stack.clear();
    m_covered.clear();
    m_openedFrom.clear();
    for (const QPointer<Form> &form : slots)
        destroy(form, false);
    m_closingAll = false;
    if (onEnd)
        onEnd();
}

Form *FormRegistry::front() const
{
    // The screen the user works in: the active window when it is one of ours,
    // otherwise the one shown last.
    auto *active = qobject_cast<Form *>(QApplication::activeWindow());
    if (active && !active->isBackdrop() && m_slots.value(active->formName()) == active && active->isVisible())
        return active;
    for (qsizetype i = m_stack.size() - 1; i >= 0; --i) {
        Form *form = m_stack[i];
        if (form && !form->isBackdrop() && form->isVisible())
            return form;
    }
    return nullptr;
}

void FormRegistry::setOpener(Form &form, Form *opener)
{
    if (opener)
        m_openedFrom.insert(&form, opener);
    else
        m_openedFrom.remove(&form);
    // Native windows on both sides, so the window manager can be told.
    form.winId();
    QWindow *parent = nullptr;
    if (opener) {
        opener->winId();
        parent = opener->windowHandle();
    }
    if (QWindow *window = form.windowHandle())
        window->setTransientParent(parent);
    if (form.isVisible())
        tellWindowManager(form);
}

void FormRegistry::tellWindowManager(Form &form) const
{
    // Qt tells an X11 window manager only about dialogs' parents, and clears the hint
    // of any other window each time it is shown: so it is set here, after showing.
    setTransientFor(form, openedFrom(form));
}

Form *FormRegistry::openedFrom(const Form &form) const
{
    return m_openedFrom.value(&form);
}

QList<Form *> FormRegistry::openedFromTree(const Form &form) const
{
    // Every form opened from this one, directly or not, the latest opened first.
    QList<Form *> out;
    for (Form *other : loadedForms()) {
        for (Form *up = openedFrom(*other); up; up = openedFrom(*up)) {
            if (up == &form) {
                out.append(other);
                break;
            }
        }
    }
    std::sort(out.begin(), out.end(), [this](Form *a, Form *b) { return m_stack.indexOf(a) > m_stack.indexOf(b); });
    return out;
}

void FormRegistry::noteShown(Form &form)
{
    if (form.isBackdrop()) {
        if (form.isVisible())
            cover(form);
    } else {
        if (m_covered.contains(&form))
            uncover();
        if (!m_shownOnce.contains(&form)) {
            m_shownOnce.append(&form);
            Form *opener = front();
            // A form never stands over one that was opened from it.
            for (Form *up = opener; up; up = openedFrom(*up)) {
                if (up == &form) {
                    opener = nullptr;
                    break;
                }
            }
            setOpener(form, opener == &form ? nullptr : opener);
        }
    }
    m_stack.removeAll(&form);
    m_stack.append(&form);
}

void FormRegistry::cover(const Form &backdrop)
{
    for (const QPointer<Form> &form : m_stack) {
        if (form && form != &backdrop && form->isVisible()) {
            m_covered.append(form);
            form->hide();
        }
    }
}

void FormRegistry::uncover()
{
    const auto covered = m_covered;
    m_covered.clear();
    // Back in front of the backdrop, in the order they had.
    for (const QPointer<Form> &form : covered) {
        if (form) {
            m_stack.removeAll(form);
            m_stack.append(form);
            form->show();
            tellWindowManager(*form);
        }
    }
}

QList<Form *> FormRegistry::stackingOrder() const
{
    QList<Form *> out;
    // Covered forms lie behind the backdrop, which is the first of the rest.
    for (const QPointer<Form> &form : m_covered) {
        if (form)
            out.append(form);
    }
    for (const QPointer<Form> &form : m_stack) {
        if (form && form->isVisible())
            out.append(form);
    }
    return out;
}

void FormRegistry::restack()
{
    for (Form *form : stackingOrder()) {
        if (m_covered.contains(form))
            continue;
        if (form->isMinimized())
            form->showNormal();
        form->raise();
    }
    if (Form *top = front())
        top->activateWindow();
}

void FormRegistry::closeRequested(Form &form)
{
    const QList<Form *> opened = openedFromTree(form);
    form.closeRequested();
    if (m_slots.value(form.formName()) == &form)
        return; // still here: its "Exit" did something else (the menu asks first)
    for (Form *other : opened) {
        if (m_slots.value(other->formName()) == other)
            unload(*other);
    }
}

} // namespace velmora
