#pragma once

#include <QList>

#include <map>

namespace velmora {

// An indexed set of like controls. Indices need not be contiguous (the main menu's
// entries skip 13 to 15). The controls belong to their form; the set only points.
template <class T>
class ControlArray
{
public:
    void insert(int index, T *control) { m_items[index] = control; }
    bool contains(int index) const { return m_items.count(index) != 0; }
    T &operator[](int index) const { return *m_items.at(index); }
    int size() const { return int(m_items.size()); }

    QList<int> indices() const
    {
        QList<int> out;
        for (const auto &item : m_items)
            out.append(item.first);
        return out;
    }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::map<int, T *> m_items;
};

} // namespace velmora
