#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/MKComHolder.h"
#include "base/MKString.h"
#include "hostapi/PowerPointInterfaces.h"

class MKCoTaskMemBuffer;

// The data one effect type keeps under one name in a shape's tags, for the
// length of one plug-in call. Tag names start with the type's tag prefix:
// prefix + name + "$" for data in one tag (an effect data text), or with
// "$" + index for the chunked form: index 0 a header (version 1, total
// length, chunk count, chunk mode as four 32-bit values in an effect data
// text) and 1 .. count bare mode-4 payloads joined in order.
class TagDataStore {
public:
    TagDataStore(PowerPoint::Tags* tags, const MKString& prefix, const MKString& name, bool single);
    TagDataStore(const TagDataStore&) = delete;
    TagDataStore& operator=(const TagDataStore&) = delete;

    // Reads the chunked form's header once; later calls answer the first
    // result. E_FAIL for an empty, malformed or invalid header.
    HRESULT LoadHeader();
    // The total length the chunked form's header states, -1 without a valid
    // header.
    int TotalLength();
    // Deletes the data's tags.
    HRESULT Clear();
    // Replaces the data (null bytes or a negative length: empty data). The
    // new texts are made before any tag changes, and a tag write that fails
    // puts the previous texts back: a failed write never loses the data
    // that was there.
    HRESULT Write(const uint8_t* bytes, int length);
    // The data in task memory the caller takes over. E_FAIL when the tags do
    // not hold whole valid data, or the error of the failing call.
    HRESULT Read(MKCoTaskMemBuffer& data, int* length);

    // The version and mode letters of the last single-form read, -1 before.
    int Version() const { return m_version; }
    int Mode() const { return m_mode; }

private:
    struct Header {
        int32_t version;
        int32_t total;
        int32_t count;
        int32_t mode;
    };

    MKString TagName(int index) const;
    HRESULT ReadTag(const MKString& name, BSTR* value) const;
    HRESULT WriteChunked(const uint8_t* bytes, int length);

    MKComHolder<PowerPoint::Tags> m_tags;
    MKString m_prefix;
    MKString m_name;
    bool m_single;
    bool m_loaded = false;
    HRESULT m_loadResult = E_FAIL;
    Header m_header = {-1, -1, -1, -1};
    int m_version = -1;
    int m_mode = -1;
};
