#pragma once
#include <cstddef>
#include <cstdint>

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

// A decoded PCM buffer: one MKAlloc block of an 84-byte header area and the
// PCM bytes behind it. While converting, the area is the ACMSTREAMHEADER;
// afterwards its first 32 bytes are the WAVEHDR handed to the device and
// bytes 32-39 link the buffer into one list at a time (the player's queue,
// then the manager's in-flight list).
namespace PVAudioBuffer {

constexpr size_t kHeaderSize = 84;
static_assert(sizeof(ACMSTREAMHEADER) == kHeaderSize, "the conversion header fills the area");
static_assert(sizeof(WAVEHDR) == 32, "the device header is the area's start");

struct Links {
    WAVEHDR* previous;
    WAVEHDR* next;
};

inline uint8_t* Data(void* buffer)
{
    return static_cast<uint8_t*>(buffer) + kHeaderSize;
}
inline Links& LinksOf(WAVEHDR* buffer)
{
    return *reinterpret_cast<Links*>(reinterpret_cast<uint8_t*>(buffer) + sizeof(WAVEHDR));
}

// A doubly linked list of buffers through their link words.
struct Chain {
    WAVEHDR* first = nullptr;
    WAVEHDR* last = nullptr;

    bool Empty() const { return first == nullptr; }
    void PushBack(WAVEHDR* buffer)
    {
        LinksOf(buffer) = {last, nullptr};
        if (last)
            LinksOf(last).next = buffer;
        else
            first = buffer;
        last = buffer;
    }
    bool Contains(const WAVEHDR* buffer) const
    {
        WAVEHDR* at = first;
        while (at && at != buffer)
            at = LinksOf(at).next;
        return at != nullptr;
    }
    // Unlinks `buffer` when it is on this list; false otherwise.
    bool Remove(WAVEHDR* buffer)
    {
        if (!Contains(buffer))
            return false;
        Links& links = LinksOf(buffer);
        (links.previous ? LinksOf(links.previous).next : first) = links.next;
        (links.next ? LinksOf(links.next).previous : last) = links.previous;
        links = {nullptr, nullptr};
        return true;
    }
    WAVEHDR* PopFront()
    {
        WAVEHDR* buffer = first;
        if (buffer)
            Remove(buffer);
        return buffer;
    }
};

}  // namespace PVAudioBuffer
