#pragma once

#include <QSizeF>

namespace velmora {

// The screen the program runs on: its size in twips and the mouse pointer shape.
class Screen
{
public:
    virtual ~Screen() = default;
    virtual QSizeF sizeTwips() const = 0;
    // The busy pointer (hourglass) for the whole screen, or the default pointer.
    virtual void setBusy(bool busy) = 0;
};

// The primary screen of the running program, in logical pixels (15 twips each).
class QtScreen final : public Screen
{
public:
    ~QtScreen() override;
    QSizeF sizeTwips() const override;
    void setBusy(bool busy) override;

private:
    bool m_busy = false;
};

} // namespace velmora
