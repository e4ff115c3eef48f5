#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>
#include <vector>

#include "standins/powerpoint/ComValues.h"

namespace standin {

// Helpers for the stand-in collections, which keep their items in a vector
// of pointers that holds one reference to each.

// The 0-based position of `item`, or -1 when it is not in the list.
template <class T>
int IndexOfItem(const std::vector<T*>& items, const T* item)
{
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == item)
            return static_cast<int>(i);
    }
    return -1;
}

// Takes `item` out of the list, lets it leave (`leave(item)` cuts its link
// to the collection) and releases the list's reference; false when it is
// not in the list.
template <class T, class Leave>
bool RemoveItem(std::vector<T*>& items, T* item, Leave leave)
{
    const int index = IndexOfItem(items, item);
    if (index < 0)
        return false;
    items.erase(items.begin() + index);
    leave(item);
    item->Release();
    return true;
}

// Empties the list before any item leaves (a leaving item may reach the
// collection), then lets each leave and releases it.
template <class T, class Leave>
void ClearItems(std::vector<T*>& items, Leave leave)
{
    std::vector<T*> taken;
    taken.swap(items);
    for (T* item : taken) {
        leave(item);
        item->Release();
    }
}

// The item at a 1-based position; null outside 1..count.
template <class T>
T* ItemAt(const std::vector<T*>& items, long position)
{
    return position >= 1 && position <= static_cast<long>(items.size()) ? items[position - 1] : nullptr;
}

// The item an Item argument names: a text by the first item whose Name()
// matches it ignoring case, a number by its 1-based position; null for none.
template <class T>
T* FindItem(const std::vector<T*>& items, const VARIANT& index)
{
    std::wstring name;
    if (TextFromVariant(index, &name)) {
        for (T* item : items) {
            if (SameTextIgnoringCase(item->Name(), name))
                return item;
        }
        return nullptr;
    }
    long position = 0;
    return IndexFromVariant(index, &position) ? ItemAt(items, position) : nullptr;
}

// Item's answer: the item with a reference for the caller, E_INVALIDARG for
// none.
template <class I, class T>
HRESULT ReturnItem(T* item, I** result)
{
    return item ? ReturnObject(item, result) : E_INVALIDARG;
}

}  // namespace standin
