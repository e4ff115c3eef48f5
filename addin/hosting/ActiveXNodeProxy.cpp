#include "addin/hosting/ActiveXNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/ActiveXNode.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/RasterImage.h"

namespace {

enum : DISPID {
    kGetInputFlags = 500,
    kSetInputFlags,
    kGetProperty,
    kSetProperty,
    kSaveSnapshotJpeg,
    kSaveSnapshotPng,
};

// Writes the control's picture; the writers replace the file only when the
// whole picture was written, so a failure leaves no partial file behind.
bool SaveSnapshot(ActiveXNode* node, const MKString& path, int32_t value, bool jpeg)
{
    RasterImage* picture = node->CaptureImage();
    if (!picture)
        return false;
    bool saved = false;
    if (jpeg) {
        RasterImage* rgb = picture->ToRgb();
        saved = rgb && SaveJpegFile(rgb, path, value, false, false, nullptr, nullptr);
        if (rgb && rgb != picture)
            rgb->Release();
    } else {
        saved = SavePngFile(picture, path, value);
    }
    picture->Release();
    return saved;
}

}  // namespace

const IID ActiveXNodeProxy::kIid = {0x3BC844DB, 0xD46D, 0x479E, {0xA4, 0xA7, 0x89, 0x37, 0x79, 0x3A, 0x8E, 0x48}};

ActiveXNodeProxy::ActiveXNodeProxy(ActiveXNode* node, REFIID iid) : SceneNodeProxy(node, iid) {}

ActiveXNode* ActiveXNodeProxy::GetActiveXNode() const
{
    return static_cast<ActiveXNode*>(GetNode());
}

bool ActiveXNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || SceneNodeProxy::AnswersInterface(iid);
}

HRESULT ActiveXNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    ActiveXNode* node = GetActiveXNode();
    DispArgs args(params);
    DispResult out(result);
    const UINT count = args.Count();
    switch (id) {
    case kGetInputFlags:
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        out.SetInt(int32_t(node->GetInputFlags()));
        return S_OK;
    case kSetInputFlags: {
        int32_t flags = 0;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetInt(0, &flags)))
            return args.Error();
        node->SetInputFlags(uint32_t(flags));
        return NoResult(result);
    }
    case kGetProperty: {
        MKString name;
        MKString value;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetString(0, &name)))
            return args.Error();
        if (!node->GetProperty(name, value)) {
            // Absent: a null string.
            out.SetBstr(nullptr);
            return S_OK;
        }
        return out.SetString(value);
    }
    case kSetProperty: {
        MKString name;
        BSTR value = nullptr;
        if (count != 2)
            return DISP_E_BADPARAMCOUNT;
        args.GetString(0, &name);
        args.GetBstr(1, &value);
        if (FAILED(args.Error()))
            return args.Error();
        if (!value)
            node->RemoveProperty(name);
        else
            node->SetProperty(name, MKString::MKStringFromChars(value, int(SysStringLen(value))));
        return NoResult(result);
    }
    case kSaveSnapshotJpeg:
    case kSaveSnapshotPng: {
        MKString path;
        int32_t value = 0;
        if (count != 2)
            return DISP_E_BADPARAMCOUNT;
        args.GetString(0, &path);
        args.GetInt(1, &value);
        if (FAILED(args.Error()))
            return args.Error();
        out.SetBool(SaveSnapshot(node, path, value, id == kSaveSnapshotJpeg));
        return S_OK;
    }
    default:
        return SceneNodeProxy::Dispatch(id, params, result);
    }
}
