#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

namespace velmora {

class Form;

// The process-wide form slots. Each form exists at most once, in the slot named after
// it. Referring to a form creates it when its slot is empty and runs its load handler
// before the reference goes on; unloading empties the slot, so the next reference
// builds the form afresh in its designed state.
//
// Screens refer to forms of their own layer or below by type (ref<T>()), and to forms
// of a layer above them by name (ref("intro0")), which needs no link to that layer.
class FormRegistry
{
public:
    using Factory = std::function<Form *()>;

    FormRegistry();
    ~FormRegistry();
    FormRegistry(const FormRegistry &) = delete;
    FormRegistry &operator=(const FormRegistry &) = delete;

    // Declares how the slot `name` builds its form.
    void define(const QString &name, const Factory &factory);
    bool isDefined(const QString &name) const { return m_factories.contains(name); }

    // Create on reference.
    Form &ref(const QString &name);
    template <class T>
    T &ref()
    {
        return static_cast<T &>(ref(T::kFormName));
    }
    // The form in the slot, or nullptr; never creates.
    Form *loaded(const QString &name) const;
    template <class T>
    T *loaded() const
    {
        return static_cast<T *>(loaded(T::kFormName));
    }
    QList<Form *> loadedForms() const;

    void unload(Form &form);

    // Ends the program at once: every form goes, nothing is asked or saved.
    void end();
    bool hasEnded() const { return m_ended; }
    // What ending does beyond closing the forms (the product quits the event loop).
    std::function<void()> onEnd;

    // Stacking: forms in the order they were last shown, the front one last.
    void noteShown(Form &form);
    QList<Form *> stackingOrder() const;
    // Brings every visible form forward again in the order it was last shown, so a
    // click on the backdrop never buries the screen in front of it.
    void restack();

    bool isClosingAll() const { return m_closingAll; }

private:
    void destroy(Form *form, bool now);

    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<Form>> m_slots;
    QList<QPointer<Form>> m_stack;
    bool m_ended = false;
    bool m_closingAll = false;
};

} // namespace velmora
