#pragma once
#include <windows.h>
#include <oleauto.h>

// Holds a one-dimensional SAFEARRAY of one element type, made by Create (owned)
// or handed in by Attach (owned or borrowed). A borrowed array is never
// destroyed, only forgotten. Data accessed through AccessData stays locked until
// Unaccess, Destroy or the holder's end.
class MKSafeArray {
public:
    explicit MKSafeArray(VARTYPE type) : m_type(type) {}
    ~MKSafeArray() { Destroy(); }
    MKSafeArray(const MKSafeArray&) = delete;
    MKSafeArray& operator=(const MKSafeArray&) = delete;

    // Drops the held array, then creates one of n elements with lower bound 0
    // (none for n <= 0). False when the system cannot create it.
    bool Create(int n);
    // Takes an array; its element count is read from its first dimension.
    void Attach(SAFEARRAY* array, bool owns);
    // Hands the array to the caller, who then owns it.
    SAFEARRAY* Detach();
    // Unaccesses the array and destroys it when owned; the holder is empty
    // afterwards.
    void Destroy();

    // The elements, or null when there is no array or it cannot be locked.
    void* AccessData();
    void Unaccess();

    SAFEARRAY* Get() const { return m_array; }
    VARTYPE GetType() const { return m_type; }
    int GetCount() const { return m_count; }

private:
    VARTYPE m_type;
    SAFEARRAY* m_array = nullptr;
    void* m_data = nullptr;
    int m_count = 0;
    bool m_owns = false;
};
