#include "hoverhighlight.h"

#include "form.h"
#include "label.h"

namespace velmora {

QList<int> indexRange(int first, int last)
{
    QList<int> out;
    for (int i = first; i <= last; ++i)
        out.append(i);
    return out;
}

HoverHighlight::HoverHighlight(Form &form, const ControlArray<Label> &entries, Rule rule)
    : m_entries(entries)
    , m_rule(std::move(rule))
{
    if (m_rule.lightUp) {
        for (const auto &[index, label] : m_entries) {
            label->onMouseMove = [this, index = index](const MouseArgs &) { lightUp(index); };
            // The keyboard's focus lights an entry as the pointer does, alone.
            label->onFocusIn = [this, index = index] {
                clear();
                lightUp(index);
            };
        }
    }
    if (!m_rule.resetRange.isEmpty())
        form.onMouseMove = [this](const MouseArgs &) { clear(); };
}

void HoverHighlight::clear() const
{
    for (int index : m_rule.resetRange) {
        if (m_entries.contains(index))
            m_entries[index].setBackStyle(BackStyle::Transparent);
    }
}

void HoverHighlight::lightUp(int index) const
{
    if (m_entries.contains(index))
        m_entries[index].setBackStyle(BackStyle::Opaque);
}

} // namespace velmora
