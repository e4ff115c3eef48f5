#include "addin/effects/TagDataStore.h"

#include <string.h>

#include "addin/effects/EffectDataCodec.h"
#include "base/MKBstrHolder.h"
#include "base/MKCoTaskMemBuffer.h"
#include "base/MKTArray.h"

namespace {

constexpr int32_t kHeaderVersion = 1;

void PutInt(uint8_t* at, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(uint32_t(value) >> (8 * i));
}

int32_t GetInt(const uint8_t* at)
{
    return int32_t(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24);
}

HRESULT AddTag(PowerPoint::Tags* tags, const MKString& name, BSTR value)
{
    MKBstrHolder held;
    *held.Receive() = name.ToBstr();
    if (!held.Get())
        return E_OUTOFMEMORY;
    return tags->Add(held.Get(), value);
}

HRESULT DeleteTag(PowerPoint::Tags* tags, const MKString& name)
{
    MKBstrHolder held;
    *held.Receive() = name.ToBstr();
    if (!held.Get())
        return E_OUTOFMEMORY;
    return tags->Delete(held.Get());
}

// Texts by tag index, each owned; a null slot stands for no tag.
class TagTexts {
public:
    TagTexts() = default;
    TagTexts(const TagTexts&) = delete;
    TagTexts& operator=(const TagTexts&) = delete;
    ~TagTexts()
    {
        for (int i = 0; i < m_texts.GetCount(); ++i)
            SysFreeString(m_texts[i]);
    }

    bool Add(BSTR text)
    {
        if (m_texts.Add(text))
            return true;
        SysFreeString(text);
        return false;
    }
    int Count() const { return m_texts.GetCount(); }
    BSTR operator[](int index) const { return m_texts[index]; }

private:
    MKTArray<BSTR> m_texts;
};

}  // namespace

TagDataStore::TagDataStore(PowerPoint::Tags* tags, const MKString& prefix, const MKString& name, bool single)
    : m_tags(tags), m_prefix(prefix), m_name(name), m_single(single)
{
}

MKString TagDataStore::TagName(int index) const
{
    MKString name = MKString::Concat(m_prefix, m_name);
    name.AppendText(L"$");
    if (!m_single)
        name.AppendString(MKString::FromInt(index));
    return name;
}

HRESULT TagDataStore::ReadTag(const MKString& name, BSTR* value) const
{
    *value = nullptr;
    MKBstrHolder held;
    *held.Receive() = name.ToBstr();
    if (!held.Get())
        return E_OUTOFMEMORY;
    return m_tags->Item(held.Get(), value);
}

HRESULT TagDataStore::LoadHeader()
{
    if (m_loaded)
        return m_loadResult;
    m_loaded = true;
    m_header = {-1, -1, -1, -1};
    MKBstrHolder text;
    m_loadResult = ReadTag(TagName(0), text.Receive());
    if (FAILED(m_loadResult))
        return m_loadResult;
    m_loadResult = E_FAIL;
    if (text.IsEmpty())
        return m_loadResult;
    MKCoTaskMemBuffer data;
    int length = 0;
    const HRESULT hr = EffectDataCodec::Decode(text.Get(), int(SysStringLen(text.Get())), false, data, &length,
                                               nullptr, nullptr);
    if (FAILED(hr)) {
        m_loadResult = hr;
        return m_loadResult;
    }
    if (length < 16)
        return m_loadResult;
    const auto* bytes = static_cast<const uint8_t*>(data.Data());
    const Header header = {GetInt(bytes), GetInt(bytes + 4), GetInt(bytes + 8), GetInt(bytes + 12)};
    if (header.version != kHeaderVersion || header.total < 0 || header.count < 0 || header.total < header.count ||
        header.mode < EffectDataCodec::kPlain1 || header.mode > EffectDataCodec::kScrambled)
        return m_loadResult;
    m_header = header;
    m_loadResult = S_OK;
    return m_loadResult;
}

int TagDataStore::TotalLength()
{
    return SUCCEEDED(LoadHeader()) ? m_header.total : -1;
}

HRESULT TagDataStore::Clear()
{
    if (!m_tags.Get())
        return E_POINTER;
    if (m_single)
        return DeleteTag(m_tags.Get(), TagName(0));
    const HRESULT loaded = LoadHeader();
    if (FAILED(loaded))
        return loaded;
    for (int index = 0; index <= m_header.count; ++index) {
        const HRESULT hr = DeleteTag(m_tags.Get(), TagName(index));
        if (FAILED(hr))
            return hr;
    }
    m_header.count = m_header.total = 0;
    return S_OK;
}

HRESULT TagDataStore::Write(const uint8_t* bytes, int length)
{
    if (!m_tags.Get())
        return E_POINTER;
    if (!bytes || length < 0)
        length = 0;
    if (!m_single)
        return WriteChunked(bytes, length);
    // One tag: setting it replaces the old text in one step.
    MKBstrHolder text;
    const HRESULT hr = EffectDataCodec::Encode(bytes, length, false, text.Receive());
    if (FAILED(hr))
        return hr;
    return AddTag(m_tags.Get(), TagName(0), text.Get());
}

HRESULT TagDataStore::WriteChunked(const uint8_t* bytes, int length)
{
    // The new texts first: header at index 0, then the chunks.
    TagTexts fresh;
    const int chunks = (length + EffectDataCodec::kMaxBlockBytes - 1) / EffectDataCodec::kMaxBlockBytes;
    uint8_t header[16];
    PutInt(header, kHeaderVersion);
    PutInt(header + 4, length);
    PutInt(header + 8, chunks);
    PutInt(header + 12, EffectDataCodec::kScrambled);
    BSTR headerText = nullptr;
    HRESULT hr = EffectDataCodec::Encode(header, sizeof header, false, &headerText);
    if (FAILED(hr))
        return hr;
    if (!fresh.Add(headerText))
        return E_OUTOFMEMORY;
    if (chunks > 0) {
        const int most = length < EffectDataCodec::kMaxBlockBytes ? length : EffectDataCodec::kMaxBlockBytes;
        // Encoding scrambles in place: the caller's bytes are only read.
        auto* scratch = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size_t(most)));
        if (!scratch)
            return E_OUTOFMEMORY;
        for (int offset = 0; offset < length; offset += most) {
            const int size = length - offset < most ? length - offset : most;
            memcpy(scratch, bytes + offset, size_t(size));
            const int characters = EffectDataCodec::EncodedLength(size, EffectDataCodec::kScrambled);
            BSTR text = SysAllocStringLen(nullptr, UINT(characters));
            if (!text || !fresh.Add(text)) {
                HeapFree(GetProcessHeap(), 0, scratch);
                return E_OUTOFMEMORY;
            }
            EffectDataCodec::EncodeBlock(scratch, size, text, characters, EffectDataCodec::kScrambled, false);
        }
        HeapFree(GetProcessHeap(), 0, scratch);
    }

    // The old texts, to put back should a tag write fail. They end at the
    // first missing chunk: a header's count is stored data, and one stating
    // billions of chunks must not make a write ask for each of them.
    TagTexts old;
    const int oldCount = SUCCEEDED(LoadHeader()) ? m_header.count : -1;
    for (int index = 0; index <= oldCount; ++index) {
        BSTR text = nullptr;
        hr = ReadTag(TagName(index), &text);
        if (FAILED(hr)) {
            SysFreeString(text);
            return hr;
        }
        if (index > 0 && SysStringLen(text) == 0) {
            SysFreeString(text);
            break;
        }
        if (!old.Add(text))
            return E_OUTOFMEMORY;
    }

    // Chunks before the header: until the header is written the old one
    // still describes the data, and old chunks past the new count go last.
    for (int index = 1; index < fresh.Count() && SUCCEEDED(hr); ++index)
        hr = AddTag(m_tags.Get(), TagName(index), fresh[index]);
    if (SUCCEEDED(hr))
        hr = AddTag(m_tags.Get(), TagName(0), fresh[0]);
    if (FAILED(hr)) {
        for (int index = fresh.Count() - 1; index >= 0; --index) {
            if (index < old.Count())
                AddTag(m_tags.Get(), TagName(index), old[index]);
            else
                DeleteTag(m_tags.Get(), TagName(index));
        }
        return hr;
    }
    for (int index = fresh.Count(); index < old.Count(); ++index)
        DeleteTag(m_tags.Get(), TagName(index));
    m_loaded = true;
    m_loadResult = S_OK;
    m_header = {kHeaderVersion, length, chunks, EffectDataCodec::kScrambled};
    return S_OK;
}

HRESULT TagDataStore::Read(MKCoTaskMemBuffer& data, int* length)
{
    if (length)
        *length = 0;
    if (!m_tags.Get())
        return E_POINTER;
    if (m_single) {
        MKBstrHolder text;
        HRESULT hr = ReadTag(TagName(0), text.Receive());
        if (FAILED(hr))
            return hr;
        if (!text.Get())
            return E_FAIL;
        return EffectDataCodec::Decode(text.Get(), int(SysStringLen(text.Get())), false, data, length, &m_version,
                                       &m_mode);
    }
    HRESULT hr = LoadHeader();
    if (FAILED(hr))
        return hr;
    // The chunks are read first: the header's total is believed only as far
    // as the chunks can hold it, so a header alone never reserves memory.
    TagTexts texts;
    int64_t capacity = 0;
    for (int index = 1; index <= m_header.count; ++index) {
        BSTR text = nullptr;
        hr = ReadTag(TagName(index), &text);
        if (FAILED(hr) || SysStringLen(text) == 0) {
            SysFreeString(text);
            return FAILED(hr) ? hr : E_FAIL;
        }
        if (!texts.Add(text))
            return E_OUTOFMEMORY;
        capacity += EffectDataCodec::DecodedCapacity(int(SysStringLen(text)), m_header.mode);
    }
    if (m_header.total > capacity)
        return E_FAIL;
    const int64_t reserved = capacity;
    if (reserved > 0x7FFFFFFF || !data.Allocate(int(reserved > 0 ? reserved : 1)))
        return E_OUTOFMEMORY;
    auto* out = static_cast<uint8_t*>(data.Data());
    int64_t done = 0;
    for (int index = 0; index < texts.Count(); ++index) {
        const int characters = int(SysStringLen(texts[index]));
        int got = 0;
        if (!EffectDataCodec::DecodeBlock(texts[index], characters, out + done, &got, m_header.mode)) {
            data.Free();
            return E_FAIL;
        }
        done += got;
    }
    if (done != m_header.total) {
        data.Free();
        return E_FAIL;
    }
    if (length)
        *length = int(done);
    return S_OK;
}
