#include "addin/hosting/QuickTimeControlNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/QuickTimeControlNode.h"

namespace {

enum : DISPID {
    kGetUrl = 900,
    kSetUrl,
    kPlay,
    kMovieCommand1,
    kMovieCommand2,
    kMovieCommand3,
    kMovieCommand4,
    kGetMovieFlag,
    kSetMovieFlag,
    kGetPlayOnLoad,
    kSetPlayOnLoad,
    kGetInitOption,
    kSetInitOption,
    kGetControlFlag,
    kSetControlFlag,
};

// The operations answering a BOOL without arguments.
bool RunCommand(QuickTimeControlNode* node, DISPID id)
{
    switch (id) {
    case kPlay: return node->Play();
    case kMovieCommand1: return node->MovieCommand1();
    case kMovieCommand2: return node->MovieCommand2();
    case kMovieCommand3: return node->MovieCommand3();
    case kMovieCommand4: return node->MovieCommand4();
    case kGetMovieFlag: return node->GetMovieFlag();
    case kGetPlayOnLoad: return node->GetPlayOnLoad();
    default: return node->GetControlFlag();
    }
}

void SetFlag(QuickTimeControlNode* node, DISPID id, bool value)
{
    switch (id) {
    case kSetMovieFlag: node->SetMovieFlag(value); break;
    case kSetPlayOnLoad: node->SetPlayOnLoad(value); break;
    default: node->SetControlFlag(value); break;
    }
}

}  // namespace

const IID QuickTimeControlNodeProxy::kIid = {0x55465109, 0xA936, 0x40C1, {0x97, 0x8B, 0x38, 0x2A, 0xFF, 0x40, 0x79, 0xCA}};

QuickTimeControlNodeProxy::QuickTimeControlNodeProxy(QuickTimeControlNode* node) : ActiveXNodeProxy(node, kIid) {}

bool QuickTimeControlNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || ActiveXNodeProxy::AnswersInterface(iid);
}

HRESULT QuickTimeControlNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    auto* node = static_cast<QuickTimeControlNode*>(GetActiveXNode());
    DispArgs args(params);
    DispResult out(result);
    const UINT count = args.Count();
    switch (id) {
    case kGetUrl:
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        return out.SetString(node->GetUrl());
    case kSetUrl: {
        MKString url;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetString(0, &url)))
            return args.Error();
        node->SetUrl(url);
        return NoResult(result);
    }
    case kPlay:
    case kMovieCommand1:
    case kMovieCommand2:
    case kMovieCommand3:
    case kMovieCommand4:
    case kGetMovieFlag:
    case kGetPlayOnLoad:
    case kGetControlFlag:
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        out.SetBool(RunCommand(node, id));
        return S_OK;
    case kSetMovieFlag:
    case kSetPlayOnLoad:
    case kSetControlFlag: {
        bool value = false;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetBool(0, &value)))
            return args.Error();
        SetFlag(node, id, value);
        return NoResult(result);
    }
    case kGetInitOption:
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        out.SetInt(node->GetInitOption());
        return S_OK;
    case kSetInitOption: {
        int32_t option = 0;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetInt(0, &option)))
            return args.Error();
        node->SetInitOption(option);
        return NoResult(result);
    }
    default:
        return ActiveXNodeProxy::Dispatch(id, params, result);
    }
}
