#pragma once
#include "base/MKString.h"

#include <stdint.h>

template <typename T>
class MKTOArray;

// A registry value as a shared blob: {type, data size in bytes, count} in
// front of the data, in one MKAlloc block. Copies of the holder share the
// blob; the last release frees it. Counts are plain: one thread at a time.
class MKRegValue {
public:
    MKRegValue() = default;
    MKRegValue(const MKRegValue& other);
    MKRegValue& operator=(const MKRegValue& other);
    ~MKRegValue() { Release(); }

    // A blob with room for size bytes (zeroed), or a null holder when memory
    // runs out or size is negative.
    static MKRegValue Alloc(uint32_t type, int size);
    // REG_DWORD, 4 bytes.
    static MKRegValue FromDword(uint32_t value);
    // REG_SZ with the terminator: 2 x (length + 1) bytes.
    static MKRegValue FromString(const MKString& text);

    bool IsNull() const { return m_blob == nullptr; }
    // 0 (REG_NONE) and 0 bytes for a null holder.
    uint32_t GetType() const;
    int GetSize() const;
    uint8_t* GetData() const;
    // Only the first size bytes are meaningful; shrinking never reallocates.
    void SetSize(int size);

    bool IsString() const;
    // The data as wide text up to its first zero, never past the data size.
    MKString GetString() const;
    // Empties out, then appends each string of REG_MULTI_SZ data up to the
    // empty string that ends the list (or the end of the data). Returns the
    // position, in characters, where reading stopped.
    int GetMultiString(MKTOArray<MKString>& out) const;

    void Release();

private:
    struct Blob {
        int32_t type;
        int32_t size;
        int32_t refs;
    };

    explicit MKRegValue(Blob* blob);

    Blob* m_blob = nullptr;
};
