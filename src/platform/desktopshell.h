#pragma once

#include <QString>

class QWidget;

namespace velmora {

// The desktop's "open" action on a web address: the user's default browser shows it.
// The caller does not wait and is told nothing; a desktop that cannot open the address
// simply does not.
class DesktopShell
{
public:
    virtual ~DesktopShell() = default;
    virtual void open(const QString &address, QWidget *owner) = 0;
};

class QtDesktopShell : public DesktopShell
{
public:
    void open(const QString &address, QWidget *owner) override;
};

} // namespace velmora
