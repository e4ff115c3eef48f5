#pragma once

// Root of reference-counted library objects. A new object carries one reference,
// owned by its creator; the release that brings the count to 0 or below deletes
// the object. Counts are plain integers: one thread at a time.
class MKRefClass {
public:
    MKRefClass() = default;
    virtual ~MKRefClass();
    MKRefClass(const MKRefClass&) = delete;
    MKRefClass& operator=(const MKRefClass&) = delete;

    int AddRef() { return ++m_refCount; }
    // Returns the new count; the object is gone when it is 0 or below.
    int Release();
    int GetRefCount() const { return m_refCount; }

private:
    int m_refCount = 1;
};
