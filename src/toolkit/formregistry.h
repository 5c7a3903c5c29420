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

    // Stacking: forms in the order they were last shown, the front one last. Forms
    // covered by the backdrop (see below) count as behind it.
    //
    // A form shown for the first time was opened from the screen in front at that
    // moment: the window manager is told so (the window is transient for that one),
    // which keeps it in front of its opener, out of the taskbar and minimised and
    // restored with it, however the user clicks. When a form goes, the forms opened
    // from it pass to its own opener.
    //
    // The backdrop, shown again while it is up, covers every screen: they are hidden
    // (still loaded, as they were) until one of them is shown again, which brings them
    // all back in their order.
    void noteShown(Form &form);
    // Tells the window manager which form the given one stands over (after each show).
    void tellWindowManager(Form &form) const;
    QList<Form *> stackingOrder() const;
    // The form the given one was opened from, or nullptr.
    Form *openedFrom(const Form &form) const;
    // Brings every form back in the order it was last shown, minimised ones restored,
    // so a click on the backdrop never leaves a pupil in front of an empty screen.
    void restack();
    // The window manager asked to close the form: the form does what its "Exit" does;
    // when that closes it, the screens opened from it (quiz, wizard, ...) close too.
    void closeRequested(Form &form);

    bool isClosingAll() const { return m_closingAll; }

private:
    void destroy(Form *form, bool now);
    Form *front() const;
    void setOpener(Form &form, Form *opener);
    QList<Form *> openedFromTree(const Form &form) const;
    void cover(const Form &backdrop);
    void uncover();

    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<Form>> m_slots;
    QList<QPointer<Form>> m_stack;
    QHash<const Form *, QPointer<Form>> m_openedFrom;
    QList<QPointer<Form>> m_shownOnce;
    QList<QPointer<Form>> m_covered;
    bool m_ended = false;
    bool m_closingAll = false;
};

} // namespace velmora
