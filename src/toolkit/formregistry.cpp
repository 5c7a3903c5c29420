#include "formregistry.h"

#include "form.h"
#include "timer.h"

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
    m_slots.remove(name);
    m_stack.removeAll(&form);
    destroy(&form, false);
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
    for (const QPointer<Form> &form : slots)
        destroy(form, false);
    m_closingAll = false;
    if (onEnd)
        onEnd();
}

void FormRegistry::noteShown(Form &form)
{
    m_stack.removeAll(&form);
    m_stack.append(&form);
}

QList<Form *> FormRegistry::stackingOrder() const
{
    QList<Form *> out;
    for (const QPointer<Form> &form : m_stack) {
        if (form && form->isVisible())
            out.append(form);
    }
    return out;
}

void FormRegistry::restack()
{
    for (Form *form : stackingOrder())
        form->raise();
    const QList<Form *> order = stackingOrder();
    if (!order.isEmpty())
        order.last()->activateWindow();
}

} // namespace velmora
