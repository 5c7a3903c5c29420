#pragma once

#include "controlarray.h"
#include "picture.h"
#include "twips.h"

#include <QBasicTimer>
#include <QList>
#include <QWidget>

#include <functional>

namespace velmora {

class Control;
class FormRegistry;
class Timer;

// A form: one top-level window of the program with its controls. A form is built in
// its designed state by its constructor; its registry runs load() straight after, on
// the first reference (see FormRegistry). Geometry is in twips: left and top on the
// screen, width and height of the window's area, which is fixed.
class Form : public QWidget
{
    Q_OBJECT

public:
    explicit Form(QString formName);
    ~Form() override;

    QString formName() const { return objectName(); }

    // The load handler; runs once, right after construction, when first referred to.
    virtual void load() {}
    // The window manager asked to close the window. The default unloads the form;
    // screens with an "Exit" of their own do what it does.
    virtual void closeRequested();
    // Escape pressed on the form: by default what closing the window does (the screen's
    // own "Exit"). Screens whose "Exit" would not lead back to an earlier screen ignore it.
    virtual void escapePressed();

    QString caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &color);
    // The form's own background picture, drawn from its top-left corner at its own size.
    const Picture &picture() const { return m_picture; }
    void setPicture(const Picture &picture);
    void setMissingPicture(const QString &source, bool unreadable = false);

    double left() const { return m_left; }
    double top() const { return m_top; }
    double formWidth() const { return m_width; }
    double formHeight() const { return m_height; }
    void setLeft(double twips);
    void setTop(double twips);
    void setFormSize(double width, double height);

    // Creates a control of this form (inside `container` when given). Later controls
    // lie above earlier ones.
    template <class T>
    T *add(const QString &name, int index = -1, Control *container = nullptr)
    {
        auto *control = new T(surfaceFor(container), name, index);
        m_controls.append(control);
        return control;
    }
    // Adds a control to an indexed set as well.
    template <class T>
    T *add(ControlArray<T> &set, const QString &name, int index, Control *container = nullptr)
    {
        T *control = add<T>(name, index, container);
        set.insert(index, control);
        return control;
    }
    Timer *addTimer(const QString &name, int interval);

    // Looks a control up by name (and index for a member of an indexed set).
    Control *control(const QString &name, int index = -1) const;
    template <class T>
    T *find(const QString &name, int index = -1) const
    {
        return qobject_cast<T *>(control(name, index));
    }
    const QList<Control *> &controls() const { return m_controls; }
    const QList<Timer *> &timers() const { return m_timers; }

    // Makes the form visible without blocking and brings it in front of all others.
    void showForm();
    // Destroys the form: it leaves its slot at once, its timers stop, and the window
    // goes when control returns to the event loop (so a form may unload itself from
    // its own handler). The next reference builds a fresh one.
    void unload();

    FormRegistry *registry() const { return m_registry; }
    // Tab runs through the controls in reading order, set once the form has loaded;
    // a screen with a designed order of its own sets it itself and keeps it.
    void keepDesignedTabOrder() { m_designedTabOrder = true; }
    void applyReadingOrder();

    // Whether the window has been drawn on the screen at least once.
    bool hasPainted() const { return m_painted; }

    // The backdrop stands behind every other form for the whole run (FormRegistry).
    bool isBackdrop() const { return m_backdrop; }
    void setBackdrop(bool backdrop) { m_backdrop = backdrop; }
    // A centred form is centred again with its window frame once the window manager
    // has framed it, inside the screen's free area (above a taskbar, say).
    void setCentred(bool centred) { m_centred = centred; }

    // Pointer events over the bare form (over no enabled control).
    std::function<void(const MouseArgs &)> onMouseDown;
    std::function<void(const MouseArgs &)> onMouseMove;
    std::function<void(const MouseArgs &)> onMouseUp;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    friend class FormRegistry;
    QWidget *surfaceFor(Control *container);
    void place();

    FormRegistry *m_registry = nullptr;
    QList<Control *> m_controls;
    QList<Timer *> m_timers;
    QColor m_backColor;
    Picture m_picture;
    QString m_missingPicture;
    bool m_pictureUnreadable = false;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    bool m_painted = false;
    bool m_backdrop = false;
    bool m_designedTabOrder = false;
    bool m_centred = false;
    bool m_placedWithFrame = false;
    QBasicTimer m_frameTimer;
    int m_framePolls = 0;
};

} // namespace velmora
