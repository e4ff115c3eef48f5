#pragma once
#include "base/MKInStream.h"

class MKSha1Stream;

// The stored bytes of one package item: reads from a borrowed source, already
// positioned at the item's data, end after the item's stored size, so a
// decoder can never read the data of the next item. Not seekable.
class PackageSliceStream : public MKInStream {
public:
    PackageSliceStream(MKInStream* source, int size) : m_source(source), m_left(size) {}

    // Every byte read from here on is hashed too (not owned; null for none).
    void SetHash(MKSha1Stream* hash) { m_hash = hash; }
    // Reads (and hashes) what no decoder asked for, up to the end of the item;
    // false when the source ends first.
    bool ReadToEnd();

    bool Close() override { return true; }
    int Read(void* buffer, int n) override;
    int Tell() override { return m_delivered; }
    bool Seek(int) override { return false; }
    bool CanSeek() override { return false; }
    int GetPosition() override { return m_delivered; }
    int GetSize() override { return m_delivered + m_left; }

private:
    MKInStream* m_source;
    int m_left;
    int m_delivered = 0;
    MKSha1Stream* m_hash = nullptr;
};
