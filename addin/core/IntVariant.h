#pragma once
#include <windows.h>
#include <oaidl.h>

// A VT_I4 VARIANT: how PowerPoint's collections take positions and its set
// effects take whole values. It owns nothing, so it needs no clearing.
inline VARIANT IntVariant(long value)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}
