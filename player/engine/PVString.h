#pragma once
#include <cstring>

// The engine's byte string: bytes ending with a 0 and a length that excludes
// it. Short strings (the names, labels and targets movies are full of) live
// in the object itself; longer ones in a heap block. An empty string holds no
// heap block. Assign answers false when the bytes cannot be allocated and
// then leaves the string as it was.
class PVString {
public:
    PVString() = default;
    ~PVString();
    PVString(const PVString&) = delete;
    PVString& operator=(const PVString&) = delete;

    bool Assign(const char* text, int length)
    {
        // A fresh string given a short text (most of what movies hold)
        // copies it in place without a call.
        if (bytes_ || length <= 0 || length >= kInlineSize)
            return IsFreshAndEmpty(length) || AssignAny(text, length);
        for (int i = 0; i < length; ++i)
            inline_[i] = text[i];
        inline_[length] = 0;
        bytes_ = inline_;
        length_ = length;
        return true;
    }
    bool Assign(const PVString& other) { return Assign(other.Data(), other.Length()); }
    // Assign for a text with at least kPaddedRead readable bytes from its
    // start (a movie's image): a short one is copied as one block.
    static constexpr int kPaddedRead = 16;
    bool AssignPadded(const char* text, int length)
    {
        if (bytes_ || length <= 0 || length >= kInlineSize)
            return IsFreshAndEmpty(length) || AssignAny(text, length);
        std::memcpy(inline_, text, kPaddedRead);
        inline_[length] = 0;
        bytes_ = inline_;
        length_ = length;
        return true;
    }
    void Clear();

    // Never null: an empty string answers "".
    const char* Data() const { return bytes_ ? bytes_ : ""; }
    int Length() const { return length_; }
    bool IsEmpty() const { return length_ == 0; }
    // Same length and the same bytes (case-sensitive).
    bool Equals(const char* text, int length) const;

private:
    static constexpr int kInlineSize = kPaddedRead;  // bytes with the ending 0

    bool AssignAny(const char* text, int length);
    // An empty text given to a string that holds nothing leaves nothing to do.
    bool IsFreshAndEmpty(int length) const { return !bytes_ && length <= 0; }

    char* bytes_ = nullptr;  // inline_, a heap block, or null when empty
    int length_ = 0;
    char inline_[kInlineSize];
};
