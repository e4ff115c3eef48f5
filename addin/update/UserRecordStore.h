#pragma once
#include "base/MKTArray.h"

// Where the per-user update records live (the product settings of the add-in
// core): two binary values, "Preferences" and "User". A read empties bytes
// first and answers true with no bytes when the value is missing, false when
// it exists (or may exist) but cannot be read; a write answers whether the
// value was replaced. Used on one thread at a time.
class UserRecordStore {
public:
    virtual ~UserRecordStore() = default;
    virtual bool ReadPreferences(MKByteArray& bytes) = 0;
    virtual bool WritePreferences(const MKByteArray& bytes) = 0;
    virtual bool ReadUser(MKByteArray& bytes) = 0;
    virtual bool WriteUser(const MKByteArray& bytes) = 0;
};
