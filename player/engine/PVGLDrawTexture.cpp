// Gradient and bitmap textures: names from the drawer's own counter, made
// at a fill's first draw, deleted at the frame after their holder goes.
#include <algorithm>

#include "player/engine/GLTable.h"
#include "player/engine/PVBitmap.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVGradTex.h"
#include "player/engine/PVImage.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/PVShapeStyles.h"
#include "player/engine/PVTransform.h"

namespace {

constexpr int kWordsPerVertex = 5;

GLenum FormatOf(int kind)
{
    switch (kind) {
    case PVImage::kRGB:
        return GL_RGB;
    case PVImage::kRGBA:
        return GL_RGBA;
    case PVImage::kAlpha:
        return GL_ALPHA;
    case PVImage::kGrey:
        return GL_LUMINANCE;
    default:
        return GL_LUMINANCE_ALPHA;
    }
}

// Uploads `image` (deleted here) under `name` with the given filters and
// wrap modes.
void Upload(uint32_t name, PVImage* image, GLint minFilter, GLint wrapS, GLint wrapT)
{
    gGL.glBindTexture(GL_TEXTURE_2D, name);
    const GLenum format = FormatOf(image->Kind());
    gGL.glTexImage2D(GL_TEXTURE_2D, 0, format, image->Width(), image->Height(), 0, format, GL_UNSIGNED_BYTE,
                     image->Pixels());
    delete image;
    gGL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    gGL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gGL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    gGL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
}

// Halves an image's sides until both fit the library's largest texture.
PVImage* FitTextureSize(PVImage* image)
{
    GLint largest = 0;
    gGL.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    int w = image->Width(), h = image->Height();
    while (largest > 0 && (w > largest || h > largest)) {
        w = std::max(1, w / 2);
        h = std::max(1, h / 2);
    }
    if (w == image->Width() && h == image->Height())
        return image;
    PVImage* smaller = image->ResizeArea(w, h);
    delete image;
    return smaller;
}

uint8_t Clamp(int v)
{
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

// The drawers alive in the process (all on the user-interface thread).
PVGLDraw* gLiveDrawers = nullptr;
uintptr_t gNextSerial = 1;

}  // namespace

uintptr_t PVGLDraw::RegisterDrawer(PVGLDraw* drawer)
{
    drawer->nextLive_ = gLiveDrawers;
    gLiveDrawers = drawer;
    return gNextSerial++;
}

void PVGLDraw::UnregisterDrawer(PVGLDraw* drawer)
{
    for (PVGLDraw** link = &gLiveDrawers; *link; link = &(*link)->nextLive_) {
        if (*link == drawer) {
            *link = drawer->nextLive_;
            return;
        }
    }
}

uint32_t PVGLDraw::NewTextureName()
{
    const uint32_t name = ++textureCounter_;
    liveTextures_.Add(static_cast<int>(name));
    return name;
}

void PVGLDraw::OnTextureReleased(void* context, uint32_t name)
{
    const auto serial = reinterpret_cast<uintptr_t>(context);
    for (PVGLDraw* drawer = gLiveDrawers; drawer; drawer = drawer->nextLive_) {
        if (drawer->serial_ == serial) {
            drawer->releasedTextures_.Add(static_cast<int>(name));
            return;
        }
    }
}

void PVGLDraw::DeleteReleasedTextures()
{
    for (int r = 0; r < releasedTextures_.Count(); ++r) {
        const int name = releasedTextures_[r];
        const int n = liveTextures_.Count();
        for (int i = 0; i < n; ++i) {
            if (liveTextures_[i] != name)
                continue;
            liveTextures_[i] = liveTextures_[n - 1];
            liveTextures_.SetCount(n - 1);
            const GLuint gone = static_cast<GLuint>(name);
            gGL.glDeleteTextures(1, &gone);
            break;
        }
    }
    releasedTextures_.SetCount(0);
}

void PVGLDraw::FreeTextures()
{
    for (int i = 0; i < liveTextures_.Count(); ++i) {
        const GLuint name = static_cast<GLuint>(liveTextures_[i]);
        gGL.glDeleteTextures(1, &name);
    }
    liveTextures_.SetCount(0);
}

// The bitmaps bound when the frame was read come first; an id that named
// none then is looked up as the dictionary holds it now.
PVChar* PVGLDraw::FillBitmap(uint16_t id) const
{
    for (int i = 0; fillBitmaps_ && i < fillBitmaps_->Count(); ++i) {
        if ((*fillBitmaps_)[i]->Id() == id)
            return (*fillBitmaps_)[i];
    }
    return player_->Dictionary() ? player_->Dictionary()->Get(id) : nullptr;
}

bool PVGLDraw::DrawTexturedSpan(const PVMatrix& matrix, const PVCxform* cxform, const PVFillStyle& fill,
                                float* v, unsigned primitive, int count)
{
    const bool gradient = fill.kind == PVFillStyle::kLinearGradient || fill.kind == PVFillStyle::kRadialGradient;
    bool mayCarryAlpha = false;
    float width = 1, height = 1;
    bool textured = false;
    if (gradient && fill.texture) {
        PVGradTex& texture = *fill.texture;
        if (!texture.Name()) {
            const uint32_t name = NewTextureName();
            PVImage* image = texture.BuildImage(name, &PVGLDraw::OnTextureReleased, ReleaseContext());
            if (!image) {
                releasedTextures_.Add(static_cast<int>(name));
                return false;
            }
            // A radial image ends in its outer colour on every side, so
            // beyond its square it is clamped both ways, not repeated.
            Upload(name, image, GL_NEAREST, gGL.edgeClampMode, texture.IsLinear() ? GL_REPEAT : gGL.edgeClampMode);
        } else {
            gGL.glBindTexture(GL_TEXTURE_2D, texture.Name());
        }
        mayCarryAlpha = !texture.Gradient().allOpaque;
        textured = true;
    } else if (!gradient) {
        PVChar* character = FillBitmap(fill.bitmapId);
        if (character && character->Type() == PVChar::kBitmap) {
            auto* bitmap = static_cast<PVBitmap*>(character);
            if (!bitmap->TextureHandle()) {
                const uint32_t name = NewTextureName();
                PVImage* image = bitmap->TakeImage(&PVGLDraw::OnTextureReleased, ReleaseContext(), name);
                if (image)
                    image = FitTextureSize(image);
                if (!image) {
                    // No name may stay with the bitmap that no upload filled.
                    bitmap->ForgetTexture();
                    releasedTextures_.Add(static_cast<int>(name));
                    return false;
                }
                const bool clipped = fill.kind == PVFillStyle::kClippedBitmap;
                const GLint wrap = clipped ? gGL.edgeClampMode : GL_REPEAT;
                Upload(name, image, GL_LINEAR, wrap, wrap);
            } else {
                gGL.glBindTexture(GL_TEXTURE_2D, bitmap->TextureHandle());
            }
            mayCarryAlpha = bitmap->HasAlpha();
            width = float(std::max(1, bitmap->Width()));
            height = float(std::max(1, bitmap->Height()));
            textured = true;
        }
    }

    if (!textured) {
        // A bitmap fill whose character is missing paints white.
        const GLubyte white[] = {255, 255, 255, 255};
        gGL.glColor4ubv(white);
        gGL.glInterleavedArrays(GL_V3F, kWordsPerVertex * sizeof(float), v + 2);
        gGL.glDrawArrays(primitive, 0, count);
        return true;
    }

    GLubyte modulate[4] = {255, 255, 255, 255};
    if (cxform) {
        modulate[0] = Clamp(cxform->multRed);
        modulate[1] = Clamp(cxform->multGreen);
        modulate[2] = Clamp(cxform->multBlue);
        modulate[3] = Clamp(cxform->multAlpha);
    }
    UseBlend(mayCarryAlpha || modulate[3] < 255);
    const bool white = modulate[0] == 255 && modulate[1] == 255 && modulate[2] == 255 && modulate[3] == 255;
    if (!white || mayCarryAlpha) {
        gGL.glColor4ubv(modulate);
        gGL.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    } else {
        gGL.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    }

    // Window pixels back to gradient or bitmap space.
    const PVMatrix inverse = PVInvertMatrix(PVConcatMatrix(matrix, fill.matrix));
    for (int i = 0; i < count; ++i) {
        float* at = v + i * kWordsPerVertex;
        const float gx = PVMapX(inverse, at[2], at[3]);
        const float gy = PVMapY(inverse, at[2], at[3]);
        at[0] = gradient ? 0.5f + gx / 32768 : gx / width;
        at[1] = gradient ? 0.5f + gy / 32768 : gy / height;
        at[4] = 0;
    }
    gGL.glEnable(GL_TEXTURE_2D);
    gGL.glInterleavedArrays(GL_T2F_V3F, kWordsPerVertex * sizeof(float), v);
    gGL.glDrawArrays(primitive, 0, count);
    gGL.glDisable(GL_TEXTURE_2D);

    if (cxform) {
        const GLubyte adds[3] = {Clamp(cxform->addRed), Clamp(cxform->addGreen), Clamp(cxform->addBlue)};
        if (adds[0] || adds[1] || adds[2]) {
            UseBlend(true);
            gGL.glBlendFunc(GL_ONE, GL_ONE);
            gGL.glColor3ubv(adds);
            gGL.glInterleavedArrays(GL_V3F, kWordsPerVertex * sizeof(float), v + 2);
            gGL.glDrawArrays(primitive, 0, count);
            gGL.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
    }
    return true;
}
