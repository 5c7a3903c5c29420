#pragma once

#include "controlarray.h"

#include <QList>

namespace velmora {

class Form;
class Label;

// The hover highlight of a form's entries (its clickable labels). Entries show their
// background while the pointer is over them and let the form show through once it
// crosses the bare form. Each screen states its own rule:
//   resetRange  the entries that a move over the bare form makes transparent
//   lightUp     whether a move over an entry makes it opaque again
// A move over any other control changes nothing; a disabled entry takes no moves, so
// the pointer over it counts as being over the bare form.
class HoverHighlight
{
public:
    struct Rule {
        QList<int> resetRange;
        bool lightUp = true;
    };

    // Installs the entries' move handlers and the form's bare-form move handler. A
    // screen that does more on a bare-form move sets its own handler and calls clear().
    HoverHighlight(Form &form, const ControlArray<Label> &entries, Rule rule);

    void clear() const;
    void lightUp(int index) const;

private:
    ControlArray<Label> m_entries;
    Rule m_rule;
};

// The reset range of a form: every index from `first` to `last`.
QList<int> indexRange(int first, int last);

} // namespace velmora
