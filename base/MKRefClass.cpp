#include "base/MKRefClass.h"

MKRefClass::~MKRefClass() = default;

int MKRefClass::Release()
{
    int count = --m_refCount;
    if (count <= 0)
        delete this;
    return count;
}
