#include "addin/hosting/MovieNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/FlashCalls.h"
#include "addin/hosting/FlashNodeProxy.h"
#include "addin/hosting/MovieNode.h"
#include "base/MKMemoryRange.h"
#include "base/MKStringDictionary.h"

#include <objbase.h>

namespace {

enum : DISPID {
    kGetUserValue = 700,
    kSetUserValue,
    kGetMoviePath,
    kSetMoviePath,
    kSetMovieData,
    kCallFunction,
    kGetOffScreen,
    kSetOffScreen,
};

// The movie data handed in as a 64-bit integer: a 32-bit address, plain or
// sign-extended, whose whole range may be read. Null for anything else.
const uint8_t* MovieDataAt(int64_t address, int32_t length)
{
    const int64_t low = address & 0xFFFFFFFF;
    if (address != low && address != int64_t(int32_t(low)))
        return nullptr;
    const auto* start = reinterpret_cast<const uint8_t*>(uintptr_t(low));
    return MKIsReadableRange(start, size_t(length)) ? start : nullptr;
}

// False for a block the task allocator says it did not make, or one smaller
// than the movie: the node frees what it takes with CoTaskMemFree, and
// freeing anything else corrupts the heap.
bool IsTaskBlockOf(const uint8_t* data, int32_t length)
{
    IMalloc* allocator = nullptr;
    if (FAILED(CoGetMalloc(1, &allocator)) || !allocator)
        return false;
    void* block = const_cast<uint8_t*>(data);
    const int made = allocator->DidAlloc(block);
    const bool fits = made != 0 && (made < 0 || allocator->GetSize(block) >= SIZE_T(length));
    allocator->Release();
    return fits;
}

bool SupportsOffScreen()
{
    return FlashCalls::InstalledVersion().Compare(MKVersion(10, 1)) >= 0;
}

}  // namespace

const IID MovieNodeProxy::kIid = {0x0B7AF0E0, 0xC2EF, 0x4372, {0x95, 0xDD, 0x67, 0x1F, 0xB2, 0x6D, 0x70, 0xE1}};

MovieNodeProxy::MovieNodeProxy(MovieNode* node) : ActiveXNodeProxy(node, kIid) {}

bool MovieNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || ActiveXNodeProxy::AnswersInterface(iid);
}

HRESULT MovieNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    auto* node = static_cast<MovieNode*>(GetActiveXNode());
    DispArgs args(params);
    DispResult out(result);
    const UINT count = args.Count();
    switch (id) {
    case kGetUserValue: {
        MKString key;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetString(0, &key)))
            return args.Error();
        if (key.IsEmpty())
            return E_INVALIDARG;
        MKString value;
        if (!node->GetUserVariables().Get(key, value)) {
            out.SetBstr(nullptr);
            return S_OK;
        }
        return out.SetString(value);
    }
    case kSetUserValue: {
        MKString key;
        BSTR value = nullptr;
        if (count != 2)
            return DISP_E_BADPARAMCOUNT;
        args.GetString(0, &key);
        args.GetBstr(1, &value);
        if (FAILED(args.Error()))
            return args.Error();
        if (key.IsEmpty())
            return E_INVALIDARG;
        if (!value)
            node->GetUserVariables().Remove(key);
        else if (!node->GetUserVariables().Set(key, MKString::MKStringFromChars(value, int(SysStringLen(value)))))
            return E_OUTOFMEMORY;
        return NoResult(result);
    }
    case kGetMoviePath: {
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        const MKString* path = node->GetMoviePath();
        if (!path) {
            out.SetBstr(nullptr);
            return S_OK;
        }
        return out.SetString(*path);
    }
    case kSetMoviePath: {
        MKString path;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetString(0, &path)))
            return args.Error();
        node->SetMoviePath(path);
        return NoResult(result);
    }
    case kSetMovieData: {
        int64_t address = 0;
        int32_t length = 0;
        if (count != 2)
            return DISP_E_BADPARAMCOUNT;
        args.GetInt64(0, &address);
        args.GetInt(1, &length);
        if (FAILED(args.Error()))
            return args.Error();
        const uint8_t* data = length < 1 ? nullptr : MovieDataAt(address, length);
        if (!data || !IsTaskBlockOf(data, length))
            return E_INVALIDARG;
        // The caller hands over a block from CoTaskMemAlloc: the node owns
        // it from here on and frees it.
        node->SetMovieData(const_cast<uint8_t*>(data), length);
        return NoResult(result);
    }
    case kCallFunction:
        return FlashNodeProxy::DispatchCallFunction(*node, node->GetPlayerMajor(), params, result);
    case kGetOffScreen:
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        out.SetBool(node->IsOffScreen());
        return S_OK;
    case kSetOffScreen: {
        bool offScreen = false;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetBool(0, &offScreen)))
            return args.Error();
        NoResult(result);
        if (!SupportsOffScreen())
            return S_FALSE;
        node->SetOffScreen(offScreen);
        return S_OK;
    }
    default:
        return ActiveXNodeProxy::Dispatch(id, params, result);
    }
}
