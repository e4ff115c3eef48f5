#pragma once
#include <cstdint>

#include "player/engine/PVCounted.h"
#include "player/engine/PVGradient.h"

class PVGradTexList;
class PVImage;

// One gradient texture of the dictionary's cache, shared by every fill whose
// gradient is equal by PVGradientEquals. Counted: each fill holds one
// reference; the last release takes the entry out of its cache and hands
// its texture name to the release callback, so the drawer deletes the
// texture at its next frame.
class PVGradTex : public PVCounted<PVGradTex> {
public:
    using ReleaseTexture = void (*)(void* context, uint32_t name);

    // Linear images are 256 x 1; radial ones square, 64 or 128 a side.
    static constexpr int kLinearWidth = 256;
    static constexpr int kSmallRadialSide = 64;
    static constexpr int kLargeRadialSide = 128;

    // Starts with one reference; `owner` may be null.
    explicit PVGradTex(PVGradTexList* owner) : PVCounted(1), owner_(owner) {}
    virtual ~PVGradTex();
    PVGradTex(const PVGradTex&) = delete;
    PVGradTex& operator=(const PVGradTex&) = delete;

    void SetGradient(const PVGradient& gradient, bool linear);
    // Records the name and the callback that frees it, and builds the
    // texture image (RGB when the gradient is opaque, else RGBA); the caller
    // owns the image. Null when it cannot be allocated; the name is then not
    // kept, and a later draw tries again with a new one.
    PVImage* BuildImage(uint32_t name, ReleaseTexture release, void* context);

    const PVGradient& Gradient() const { return gradient_; }
    bool IsLinear() const { return linear_; }
    uint32_t Name() const { return name_; }
    // The cache cuts its entries loose when it goes first.
    void Detach() { owner_ = nullptr; }

private:
    PVImage* MakeImage() const;

    PVGradTexList* owner_;
    uint32_t name_ = 0;
    PVGradient gradient_;
    bool linear_ = true;
    ReleaseTexture release_ = nullptr;
    void* releaseContext_ = nullptr;
};
