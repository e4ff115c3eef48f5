#pragma once
#include "addin/imaging/drawing/GfxSlot.h"

struct GfxFactory;

// How plug-ins reach the drawing layer: they call this once (its address
// comes from the add-in) with nine arrays of their own and then call the
// copied entries directly. Array k receives the first count k entries of, in
// order: the factory, handle, handle (mask filters and loopers share one
// table), shader, picture, path, paint, bitmap and canvas tables. A count
// above a table's size copies the whole table; a count of 0 or less, or a
// null array, copies nothing and leaves the array alone. Answers a new
// factory (released through its own slot 0), null when memory runs out.
// Callable from any thread; the caller removes the arguments (cdecl).
extern "C" GfxFactory* __cdecl FillDrawingTables(int count1, GfxSlot* array1, int count2, GfxSlot* array2,
                                                 int count3, GfxSlot* array3, int count4, GfxSlot* array4,
                                                 int count5, GfxSlot* array5, int count6, GfxSlot* array6,
                                                 int count7, GfxSlot* array7, int count8, GfxSlot* array8,
                                                 int count9, GfxSlot* array9);

using FillDrawingTablesFunction = decltype(&FillDrawingTables);
