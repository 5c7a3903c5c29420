#pragma once

#include "toolkit/form.h"

namespace velmora {

class Module1;

// The backdrop: a borderless window over the whole screen, behind every other form for
// the whole run, so the desktop is never seen between screens.
class Grey : public Form
{
    Q_OBJECT

public:
    static inline const QString kFormName = QStringLiteral("Grey");

    explicit Grey(Module1 &m);

    void load() override;
    // The backdrop never closes before the program ends.
    void closeRequested() override {}
    void escapePressed() override {}

private:
    Module1 &m_m;
};

} // namespace velmora
