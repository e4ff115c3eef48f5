#pragma once
#include "addin/hosting/SceneNodeProxy.h"

class ImageNode;

// The proxy of an image node: the path of its image file (400 reads it, 401
// sets it).
class ImageNodeProxy final : public SceneNodeProxy {
public:
    static const IID kIid;

    explicit ImageNodeProxy(ImageNode* node);

protected:
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
