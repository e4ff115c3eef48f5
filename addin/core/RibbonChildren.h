#pragma once
#include "base/MKPointerArrays.h"
#include "base/MKTArray.h"

class MKTextBuffer;

// The child elements a ribbon container owns, in the order they were added;
// deleted with the list. T must be complete wherever the list is destroyed
// (so containers define their constructors and destructors out of line).
template <class T>
class RibbonChildren {
public:
    RibbonChildren() = default;
    ~RibbonChildren() { MKDeleteAllItems(m_items); }
    RibbonChildren(const RibbonChildren&) = delete;
    RibbonChildren& operator=(const RibbonChildren&) = delete;

    int GetCount() const { return m_items.GetCount(); }
    bool IsEmpty() const { return m_items.IsEmpty(); }

    // The first child for which matches(child) holds; else the new child that
    // make() answers, appended and owned from then on. Null when it cannot be
    // made or added.
    template <class Matches, class Make>
    T* FindOrAdd(Matches matches, Make make)
    {
        for (int i = 0; i < m_items.GetCount(); ++i) {
            if (matches(*m_items[i]))
                return m_items[i];
        }
        T* child = make();
        if (child && !m_items.Add(child)) {
            delete child;
            child = nullptr;
        }
        return child;
    }

    // Deletes every child for which keep(child) does not hold.
    template <class Keep>
    void DeleteUnless(Keep keep)
    {
        for (int i = m_items.GetCount() - 1; i >= 0; --i) {
            if (!keep(*m_items[i])) {
                delete m_items[i];
                m_items.RemoveAt(i);
            }
        }
    }

    // Every child's customUI text, in order; false when memory runs out.
    bool AppendXml(MKTextBuffer& out) const
    {
        for (int i = 0; i < m_items.GetCount(); ++i) {
            if (!m_items[i]->AppendXml(out))
                return false;
        }
        return true;
    }

private:
    MKTArray<T*> m_items;
};
