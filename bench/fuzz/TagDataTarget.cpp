// Effect data as the add-in keeps it in a shape's tags: the effect data text
// of one tag (with and without its prefix) and the chunked form, a header tag
// and numbered chunk tags, read through TagDataStore from tags that hold the
// input's lines (line 0 the header or single text, then the chunks).
#include <windows.h>

#include <map>
#include <string>

#include "FuzzTarget.h"
#include "addin/effects/EffectDataCodec.h"
#include "addin/effects/TagDataStore.h"
#include "base/MKBstrHolder.h"
#include "base/MKCoTaskMemBuffer.h"

namespace {

const wchar_t kPrefix[] = L"_FZ_";
const wchar_t kName[] = L"data";

// Tags in memory: what a shape's tags answer, nothing more.
class MemoryTags final : public PowerPoint::Tags {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_Count(long* result) override
    {
        *result = long(texts_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(BSTR name, BSTR* result) override
    {
        const auto found = texts_.find(Upper(name));
        *result = SysAllocStringLen(found == texts_.end() ? L"" : found->second.data(),
                                    found == texts_.end() ? 0 : UINT(found->second.size()));
        return *result ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE Add(BSTR name, BSTR value) override
    {
        texts_[Upper(name)] = std::wstring(value, SysStringLen(value));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Delete(BSTR name) override
    {
        texts_.erase(Upper(name));
        return S_OK;
    }

    void Clear() { texts_.clear(); }
    std::wstring Text(const std::wstring& name) const
    {
        const auto found = texts_.find(Upper(name.c_str()));
        return found == texts_.end() ? std::wstring() : found->second;
    }

private:
    // Tag names are not case-sensitive.
    static std::wstring Upper(const wchar_t* name)
    {
        std::wstring upper = name ? name : L"";
        for (wchar_t& c : upper)
            c = wchar_t(towupper(c));
        return upper;
    }

    std::map<std::wstring, std::wstring> texts_;
};

std::wstring TagName(int index, bool single)
{
    std::wstring name = std::wstring(kPrefix) + kName + L"$";
    return single ? name : name + std::to_wstring(index);
}

// The tags' texts as the input's lines (texts are ASCII).
FuzzInput Lines(const MemoryTags& tags, bool single)
{
    FuzzInput input;
    input.kind = "tags";
    for (int index = 0; index < 64; ++index) {
        const std::wstring text = tags.Text(TagName(index, single));
        if (text.empty() && index > 0)
            break;
        if (index > 0)
            input.bytes.push_back('\n');
        for (wchar_t c : text)
            input.bytes.push_back(uint8_t(c));
        if (single)
            break;
    }
    return input;
}

void AddSeeds(const std::wstring&, std::vector<FuzzInput>& seeds)
{
    for (int length : {0, 1, 7, 300}) {
        std::vector<uint8_t> data(static_cast<size_t>(length));
        for (int i = 0; i < length; ++i)
            data[size_t(i)] = uint8_t(i * 13 + 5);
        for (bool single : {false, true}) {
            MemoryTags tags;
            TagDataStore store(&tags, MKString(kPrefix), MKString(kName), single);
            if (SUCCEEDED(store.Write(data.data(), length)))
                seeds.push_back(Lines(tags, single));
        }
    }
    // Two chunks, as a writer of larger data leaves them: a header stating 7
    // bytes in 2 chunks of mode 4, then "abc" and "defg".
    FuzzInput twoChunks{{}, "tags"};
    const int32_t header[4] = {1, 7, 2, EffectDataCodec::kScrambled};
    const char* const parts[] = {reinterpret_cast<const char*>(header), "abc", "defg"};
    const int lengths[] = {16, 3, 4};
    for (int i = 0; i < 3; ++i) {
        MKBstrHolder part;
        if (FAILED(EffectDataCodec::Encode(reinterpret_cast<const uint8_t*>(parts[i]), lengths[i], false,
                                           part.Receive())))
            return;
        if (i > 0)
            twoChunks.bytes.push_back('\n');
        for (UINT c = 0; c < SysStringLen(part.Get()); ++c)
            twoChunks.bytes.push_back(uint8_t(part.Get()[c]));
    }
    seeds.push_back(twoChunks);
    // An effect data text with its prefix.
    const uint8_t bytes[] = "effect parameters";
    MKBstrHolder text;
    if (SUCCEEDED(EffectDataCodec::Encode(bytes, int(sizeof bytes), true, text.Receive()))) {
        FuzzInput input{{}, "tags"};
        for (UINT i = 0; i < SysStringLen(text.Get()); ++i)
            input.bytes.push_back(uint8_t(text.Get()[i]));
        seeds.push_back(input);
    }
}

void Run(const FuzzInput& input)
{
    MemoryTags tags;
    std::wstring line;
    int index = 0;
    auto store = [&] {
        MKBstrHolder name, value;
        *name.Receive() = SysAllocString(TagName(index, false).c_str());
        *value.Receive() = SysAllocStringLen(line.data(), UINT(line.size()));
        tags.Add(name.Get(), value.Get());
        ++index;
        line.clear();
    };
    for (uint8_t byte : input.bytes) {
        if (byte == '\n')
            store();
        else
            line.push_back(wchar_t(byte));
    }
    store();
    const std::wstring first = tags.Text(TagName(0, false));
    for (bool withPrefix : {false, true}) {
        MKCoTaskMemBuffer data;
        int length = 0;
        EffectDataCodec::Decode(first.c_str(), int(first.size()), withPrefix, data, &length, nullptr, nullptr);
    }
    TagDataStore chunked(&tags, MKString(kPrefix), MKString(kName), false);
    chunked.TotalLength();
    MKCoTaskMemBuffer data;
    int length = 0;
    chunked.Read(data, &length);
}

}  // namespace

const FuzzTarget& TagDataTarget()
{
    static const FuzzTarget target = {"tag-data", AddSeeds, Run, nullptr};
    return target;
}
