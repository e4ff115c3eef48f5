#include "addin/hosting/FlashNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/FlashCalls.h"
#include "addin/hosting/FlashNode.h"

namespace {

enum : DISPID {
    kGetMovie = 600,
    kSetMovie,
    kGetFlashVars,
    kSetFlashVars,
    kIsPlaying,
    kSetPlaying,
    kGetCurrentFrame,
    kGotoFrame,
    kCallFunction,
};

}  // namespace

const IID FlashNodeProxy::kIid = {0xD2772614, 0xA880, 0x469E, {0x87, 0x65, 0x61, 0xD6, 0x32, 0x9E, 0x8B, 0x45}};

FlashNodeProxy::FlashNodeProxy(FlashNode* node) : ActiveXNodeProxy(node, kIid) {}

bool FlashNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || ActiveXNodeProxy::AnswersInterface(iid);
}

HRESULT FlashNodeProxy::DispatchCallFunction(const ActiveXNode& node, int playerMajor, DISPPARAMS* params,
                                             VARIANT* result)
{
    DispArgs args(params);
    MKString request;
    if (args.Count() != 1)
        return DISP_E_BADPARAMCOUNT;
    if (FAILED(args.GetString(0, &request)))
        return args.Error();
    MKString response;
    const HRESULT hr = FlashCalls::CallFunction(node, playerMajor, request, &response);
    if (FAILED(hr))
        return hr;
    const HRESULT written = DispResult(result).SetString(response);
    return FAILED(written) ? written : hr;
}

HRESULT FlashNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    auto* node = static_cast<FlashNode*>(GetActiveXNode());
    DispArgs args(params);
    DispResult out(result);
    const UINT count = args.Count();
    switch (id) {
    case kGetMovie:
    case kGetFlashVars:
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        return out.SetString(id == kGetMovie ? node->GetMovie() : node->GetFlashVars());
    case kSetMovie:
    case kSetFlashVars: {
        MKString text;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetString(0, &text)))
            return args.Error();
        if (id == kSetMovie)
            node->SetMovie(text);
        else
            node->SetFlashVars(text);
        return NoResult(result);
    }
    case kIsPlaying: {
        bool playing = false;
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        const HRESULT hr = FlashCalls::IsPlaying(*node, playing);
        if (FAILED(hr))
            return hr;
        out.SetBool(playing);
        return hr;
    }
    case kSetPlaying: {
        bool playing = false;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetBool(0, &playing)))
            return args.Error();
        NoResult(result);
        return FlashCalls::SetPlaying(*node, playing);
    }
    case kGetCurrentFrame: {
        int32_t frame = 0;
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        const HRESULT hr = FlashCalls::GetCurrentFrame(*node, frame);
        if (FAILED(hr))
            return hr;
        out.SetInt(frame);
        return hr;
    }
    case kGotoFrame: {
        int32_t frame = 0;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetInt(0, &frame)))
            return args.Error();
        NoResult(result);
        return FlashCalls::GotoFrame(*node, frame);
    }
    case kCallFunction:
        return DispatchCallFunction(*node, node->GetPlayerMajor(), params, result);
    default:
        return ActiveXNodeProxy::Dispatch(id, params, result);
    }
}
