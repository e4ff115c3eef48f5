#pragma once
#include "base/MKTArray.h"

// Disposers of arrays of owned pointers. Each walks the items in order, nulls a
// slot before disposing of its element (so a destructor that looks at the array
// finds no dangling pointer), then frees the block: count and capacity 0.

// Deletes every element (through its virtual destructor, when it has one).
template <typename T>
void MKDeleteAllItems(MKTArray<T*>& array)
{
    for (int i = 0; i < array.GetCount(); ++i) {
        T* item = array[i];
        array[i] = nullptr;
        delete item;
    }
    array.RemoveAll();
}

// Drops one reference on every element (MKRefClass and the like).
template <typename T>
void MKReleaseAllItems(MKTArray<T*>& array)
{
    for (int i = 0; i < array.GetCount(); ++i) {
        T* item = array[i];
        array[i] = nullptr;
        if (item)
            item->Release();
    }
    array.RemoveAll();
}
