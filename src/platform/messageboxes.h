#pragma once

#include <QString>

class QWidget;

namespace velmora {

// Message boxes, as the screens use them: a text, a title and the buttons. A call
// returns when the user has answered.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual void ok(const QString &text, const QString &title) = 0;
    // True when the user chose OK.
    virtual bool okCancel(const QString &text, const QString &title) = 0;
};

// The real message boxes: modal Qt dialogs over the window in front.
class QtMessageBoxes : public MessageBoxes
{
public:
    void ok(const QString &text, const QString &title) override;
    bool okCancel(const QString &text, const QString &title) override;
};

} // namespace velmora
