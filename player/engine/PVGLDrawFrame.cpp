// One frame: the view set-up, the display-list walk with clip layers and
// button hit tests, text, and the 3D view modes.
#include <algorithm>
#include <array>
#include <cmath>

#include "player/engine/GLTable.h"
#include "player/engine/PVButtonClip.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVDisplayList.h"
#include "player/engine/PVFont.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVMorph.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/PVShape.h"
#include "player/engine/PVText.h"
#include "player/engine/PVTransform.h"
#include "player/engine/WGLView.h"

namespace {

// Stencil bits: one per nested clip layer.
constexpr int kMaxClipLevels = 8;

void SetPerspective(float fieldOfView, float aspect, float zNear, float zFar)
{
    const float y = zNear * std::tan(fieldOfView / 2);
    const float x = y * aspect;
    gGL.glFrustum(-x, x, -y, y, zNear, zFar);
}

// Looks from a point on the sphere of radius r around the target, at
// azimuth a and elevation e, towards the target.
void SetCamera(float tx, float ty, float tz, float a, float e, float r)
{
    const float ca = std::cos(a), sa = std::sin(a), ce = std::cos(e), se = std::sin(e);
    const float eye[3] = {tx + r * ca * ce, ty + r * sa * ce, tz + r * se};
    const float rows[3][3] = {{-sa, ca, 0}, {-se * ca, -se * sa, ce}, {ca * ce, sa * ce, se}};
    GLfloat m[16] = {};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            m[col * 4 + row] = rows[row][col];
        m[12 + row] = -(rows[row][0] * eye[0] + rows[row][1] * eye[1] + rows[row][2] * eye[2]);
    }
    m[15] = 1;
    gGL.glMultMatrixf(m);
}

}  // namespace

bool PVGLDraw::Render(HDC__* dc, int mouseX, int mouseY, bool force)
{
    if (!view_)
        return false;
    HDC own = dc ? nullptr : GetDC(view_->Window());
    HDC target = dc ? dc : own;
    bool drew = false;
    if (view_->MakeCurrent(target)) {
        drew = RenderFrame(mouseX, mouseY, force);
        if (drew)
            SwapBuffers(target);
        viewChanged_ = false;
        view_->Done();
    }
    if (own)
        ReleaseDC(view_->Window(), own);
    return drew;
}

bool PVGLDraw::RenderFrame(int mouseX, int mouseY, bool force)
{
    if (!setUp_) {
        SetupView();
        setUp_ = true;
    }
    DeleteReleasedTextures();
    ForgetGLState();
    RECT client = {};
    GetClientRect(view_->Window(), &client);
    const int w = client.right - client.left, h = client.bottom - client.top;
    if (w <= 1 || h <= 1)
        return false;
    mouseInside_ = mouseX >= 0 && mouseY >= 0 && mouseX < w && mouseY < h;
    mouseX_ = mouseInside_ ? float(mouseX) : -1;
    mouseY_ = mouseInside_ ? float(mouseY) : -1;
    viewWidth_ = float(w);
    viewHeight_ = float(h);

    gGL.glViewport(0, 0, w, h);
    gGL.glMatrixMode(GL_PROJECTION);
    gGL.glLoadIdentity();
    gGL.glOrtho(0, w, h, 0, -1, 1);
    gGL.glMatrixMode(GL_MODELVIEW);
    gGL.glLoadIdentity();
    gGL.glDisable(GL_LIGHTING);
    gGL.glShadeModel(GL_FLAT);
    gGL.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    PVMovieClip* main = player_->MainClip();
    if (!main || movieWidth_ <= 0 || movieHeight_ <= 0)
        return false;
    if (outlinesOnly_ && blackAndWhite_) {
        gGL.glClearColor(1, 1, 1, 1);
    } else {
        const PVRGBA& bg = player_->Dictionary()->BackgroundColor();
        gGL.glClearColor(bg.red / 255.0f, bg.green / 255.0f, bg.blue / 255.0f, bg.alpha / 255.0f);
    }
    depthTest_ = viewMode_ == kSlices;
    if (depthTest_) {
        gGL.glEnable(GL_DEPTH_TEST);
        gGL.glDepthMask(GL_TRUE);
        gGL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    } else {
        gGL.glDisable(GL_DEPTH_TEST);
        gGL.glDepthMask(GL_FALSE);
        gGL.glClear(GL_COLOR_BUFFER_BIT);
    }
    PVMatrix matrix;
    matrix.scaleX = float(w) / movieWidth_;
    matrix.scaleY = float(h) / movieHeight_;

    updateLeft_ = 0;
    updateTop_ = 0;
    updateRight_ = float(w);
    updateBottom_ = float(h);
    if (!viewChanged_ && !force && viewMode_ == kNormal && gGL.addSwapHintRect) {
        PVBounds total, damage;
        main->DisplayList().ComputeBounds(total, damage);
        if (damage.empty)
            return false;
        const PVBounds box = damage.Transformed(matrix);
        if (box.xmin > w || box.xmax < 0 || box.ymin > h || box.ymax < 0)
            return false;
        updateLeft_ = std::max(0.0f, box.xmin - 3);
        updateTop_ = std::max(0.0f, box.ymin - 3);
        updateRight_ = std::min(float(w), box.xmax + 3);
        updateBottom_ = std::min(float(h), box.ymax + 3);
        const int x0 = static_cast<int>(box.xmin) - 2, y0 = static_cast<int>(box.ymin) - 2;
        const int x1 = std::min(static_cast<int>(box.xmax) + 2, w);
        const int y1 = std::min(static_cast<int>(box.ymax) + 2, h);
        gGL.addSwapHintRect(x0, h - y1 - 1, x1 - x0, y1 - y0);
    }

    SetButtonUnderMouse(nullptr);
    layerFlag_ = viewMode_ != kNormal;
    if (viewMode_ == kNormal) {
        layerCounter_ = 0;
        DrawDisplayList(main->DisplayList(), matrix, nullptr);
        return true;
    }
    // 3D views send every span: the sampling offset holds only for the
    // flat projection.
    const bool sampleValid = sampleValid_;
    sampleValid_ = false;
    DrawFrame3D(main->DisplayList(), matrix, w, h);
    sampleValid_ = sampleValid;
    return true;
}

bool PVGLDraw::DrawDisplayList(PVDisplayList& list, const PVMatrix& matrix, const PVCxform* cxform)
{
    bool ok = true;
    for (int i = 0; i < list.Count(); ++i) {
        PVDListObject* entry = list.At(i);
        if (!entry)
            continue;
        if (entry->clipDepth > 0) {
            if (drawingMask_)
                continue;
            ok = DrawClipLayer(list, i, matrix, cxform) && ok;
            // The walk never goes back, whatever clip depth the entry holds.
            i = std::max(i, std::min<int>(entry->clipDepth, list.Count() - 1));
        } else {
            ok = DrawObject(*entry, matrix, cxform) && ok;
        }
        if (layerFlag_) {
            if (!counting_ && (viewMode_ == kSlices || (viewMode_ == kPlane && layerCounter_ == 0)))
                DrawLayerFrame();
            ++layerCounter_;
        }
    }
    return ok;
}

bool PVGLDraw::DrawClipLayer(PVDisplayList& list, int depth, const PVMatrix& matrix, const PVCxform* cxform)
{
    PVDListObject& layer = *list.At(depth);
    const bool layerFlag = layerFlag_;
    layerFlag_ = false;
    // Each nested clip layer keeps its mask in a stencil bit of its own and
    // tests the bits of the layers around it too, so the outer masks still
    // clip what it shows.
    const int level = clipLevel_;
    const bool masks = !counting_ && level < kMaxClipLevels;
    const GLuint bit = 1u << level;
    bool ok = true;
    if (masks) {
        gGL.glStencilMask(bit);
        gGL.glClearStencil(0);
        gGL.glClear(GL_STENCIL_BUFFER_BIT);
        gGL.glEnable(GL_STENCIL_TEST);
        if (depthTest_) {
            gGL.glDisable(GL_DEPTH_TEST);
            gGL.glDepthMask(GL_FALSE);
        }
        gGL.glStencilFunc(level == 0 ? GL_ALWAYS : GL_EQUAL, 2 * bit - 1, bit - 1);
        gGL.glStencilOp(GL_KEEP, GL_REPLACE, GL_REPLACE);
        drawingMask_ = true;
        gGL.glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        ok = DrawObject(layer, matrix, cxform);
        gGL.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        drawingMask_ = false;
        gGL.glStencilMask(0xFF);
        gGL.glStencilFunc(GL_EQUAL, 2 * bit - 1, 2 * bit - 1);
        gGL.glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        if (depthTest_) {
            gGL.glEnable(GL_DEPTH_TEST);
            gGL.glDepthMask(GL_TRUE);
        }
        ++clipLevel_;
    }
    const int last = std::min<int>(layer.clipDepth, list.Count() - 1);
    for (int i = depth + 1; i <= last; ++i) {
        if (PVDListObject* entry = list.At(i))
            ok = DrawObject(*entry, matrix, cxform) && ok;
    }
    layerFlag_ = layerFlag;
    if (masks) {
        --clipLevel_;
        if (level == 0)
            gGL.glDisable(GL_STENCIL_TEST);
        else
            gGL.glStencilFunc(GL_EQUAL, bit - 1, bit - 1);
    }
    return ok;
}

void PVGLDraw::DrawLayerFrame()
{
    const float c = 1.0f / std::pow(float(std::max(1, layerCount_)), 0.125f);
    GLfloat color[4];
    if (outlinesOnly_ && blackAndWhite_) {
        color[0] = color[1] = color[2] = c;
        color[3] = 1;
    } else {
        const PVRGBA& bg = player_->Dictionary()->BackgroundColor();
        color[0] = 1 - bg.red / 255.0f;
        color[1] = 1 - bg.green / 255.0f;
        color[2] = 1 - bg.blue / 255.0f;
        color[3] = 1 - c;
    }
    UseBlend(true);
    UseLineSmooth(true);
    UseLineWidth(0.5f);
    gGL.glColor4fv(color);
    const GLfloat corners[4][3] = {{0, 0, 0}, {viewWidth_, 0, 0}, {viewWidth_, viewHeight_, 0}, {0, viewHeight_, 0}};
    gGL.glBegin(GL_LINE_LOOP);
    for (const auto& corner : corners)
        gGL.glVertex3fv(corner);
    gGL.glEnd();
    if (viewMode_ == kSlices)
        gGL.glTranslatef(0, 0, 1);
}

bool PVGLDraw::DrawObject(PVDListObject& entry, const PVMatrix& parent, const PVCxform* parentCxform)
{
    PVChar* character = entry.character;
    if (!character)
        return true;
    const int type = character->Type();
    if (counting_ && type != PVChar::kSprite && type != PVChar::kButton)
        return true;
    const PVMatrix matrix = PVConcatMatrix(parent, entry.matrix);
    PVCxform storage;
    const PVCxform* cxform =
        PVConcatCxform(parentCxform, PVIsIdentity(entry.cxform) ? nullptr : &entry.cxform, storage);
    switch (type) {
    case PVChar::kShape:
    case PVChar::kMorph:
    case PVChar::kText: {
        const PVBounds box = character->DisplayBounds().Transformed(matrix);
        if (box.xmin >= updateRight_ || box.xmax < updateLeft_ || box.ymin >= updateBottom_ || box.ymax < updateTop_)
            return true;
        if (type == PVChar::kText)
            return DrawText(matrix, cxform, *static_cast<PVText*>(character));
        fillBitmaps_ = entry.bitmaps;
        const bool ok = DrawShape(matrix, cxform,
                                  type == PVChar::kShape ? *static_cast<PVShape*>(character)
                                                         : static_cast<PVMorph*>(character)->Result());
        fillBitmaps_ = nullptr;
        return ok;
    }
    case PVChar::kSprite:
        return !entry.clip || DrawDisplayList(entry.clip->DisplayList(), matrix, cxform);
    case PVChar::kButton: {
        if (!entry.clip)
            return true;
        const bool ok = DrawDisplayList(entry.clip->DisplayList(), matrix, cxform);
        auto* button = static_cast<PVButtonClip*>(entry.clip);
        if (!hitTesting_ && !counting_ && mouseInside_ && button->HitArea()) {
            const float saved[4] = {updateLeft_, updateTop_, updateRight_, updateBottom_};
            updateLeft_ = updateTop_ = 0;
            updateRight_ = viewWidth_;
            updateBottom_ = viewHeight_;
            hitTesting_ = true;
            testedButton_ = button;
            DrawDisplayList(button->HitArea()->DisplayList(), matrix, cxform);
            hitTesting_ = false;
            testedButton_ = nullptr;
            updateLeft_ = saved[0];
            updateTop_ = saved[1];
            updateRight_ = saved[2];
            updateBottom_ = saved[3];
        }
        return ok;
    }
    default:
        return true;
    }
}

bool PVGLDraw::DrawText(const PVMatrix& matrix, const PVCxform* cxform, const PVText& text)
{
    const PVCharDictionary* dictionary = player_->Dictionary();
    if (!dictionary)
        return true;
    const PVMatrix textMatrix = PVConcatMatrix(matrix, text.Matrix());
    const PVTArray<PVTextRecord1>& styles = text.Styles();
    const PVTArray<PVTextRecord0>& runs = text.Runs();
    const PVTArray<PVTextGlyphEntry>& glyphs = text.Glyphs();
    const PVFont* font = nullptr;
    float scale = 0, x = 0, y = 0;
    // Glyphs of one text do not overlap: their fills go in one batch and
    // their edge lines in another, drawn at the end.
    deferLines_ = true;
    PVRGBA color;
    for (int s = 0; s < styles.Count(); ++s) {
        const PVTextRecord1& style = styles[s];
        const uint32_t flags = style.style & 0xFF;
        if (flags & 8) {
            font = PVText::FontOf(*dictionary, style);
            scale = float(style.height & 0xFFFF) / 1024;
        }
        if (flags & 4)
            color = PVApplyCxform(cxform, style.color);
        if (flags & 1)
            x = float(style.XOffset());
        if (flags & 2)
            y = float(style.YOffset());
        for (uint32_t r = style.firstRun; r < style.firstRun + style.runCount && r < uint32_t(runs.Count()); ++r) {
            const PVTextRecord0& run = runs[r];
            for (uint32_t g = run.firstGlyph; g < run.firstGlyph + run.glyphCount && g < uint32_t(glyphs.Count());
                 ++g) {
                const PVTextGlyphEntry& glyph = glyphs[g];
                if (const PVShape* shape = font ? font->Glyph(glyph.index) : nullptr) {
                    PVMatrix place;
                    place.scaleX = place.scaleY = scale;
                    place.translateX = x;
                    place.translateY = y;
                    glyphColor_ = &color;
                    const bool ok = DrawShape(PVConcatMatrix(textMatrix, place), nullptr, *shape);
                    glyphColor_ = nullptr;
                    if (!ok) {
                        EndText();
                        return false;
                    }
                }
                x += float(glyph.advance);
            }
        }
    }
    EndText();
    return true;
}

void PVGLDraw::EndText()
{
    deferLines_ = false;
    FlushLines();
}

bool PVGLDraw::ProbeSampleRow(float y, float height, int row)
{
    gGL.glColor4ubv(std::array<GLubyte, 4>{0, 0, 0, 255}.data());
    gGL.glRectf(10, y - 10, 20, y + 10);
    gGL.glColor4ubv(std::array<GLubyte, 4>{255, 255, 255, 255}.data());
    gGL.glRectf(10, y, 20, y + height);
    gGL.glFlush();
    GLubyte pixel[4] = {};
    gGL.glReadPixels(10, 10 + row, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    return pixel[0] != 0;
}

void PVGLDraw::SetupView()
{
    RECT client = {};
    GetClientRect(view_->Window(), &client);
    const int w = std::max<int>(2, client.right - client.left);
    const int h = std::max<int>(2, client.bottom - client.top);
    gGL.glViewport(0, 0, w, h);
    gGL.glMatrixMode(GL_PROJECTION);
    gGL.glLoadIdentity();
    gGL.glOrtho(0, w, 0, h, -1, 1);
    gGL.glMatrixMode(GL_MODELVIEW);
    gGL.glLoadIdentity();
    gGL.glDisable(GL_DEPTH_TEST);
    gGL.glDepthMask(GL_FALSE);
    gGL.glDisable(GL_LIGHTING);
    gGL.glShadeModel(GL_FLAT);
    gGL.glReadBuffer(GL_BACK);
    ForgetGLState();
    UseBlend(false);

    constexpr int kProbes = 20;
    float values[kProbes];
    for (int k = 0; k < kProbes; ++k) {
        const float y = 10 + float(k) / kProbes;
        values[k] = 0;
        for (int i = 0; i < 500; ++i) {
            const float b = i * 2.0f / 500;
            const int flag = ProbeSampleRow(y, b, 0) ? 0 : ProbeSampleRow(y, b, 1) ? 1 : -1;
            if (flag >= 0) {
                values[k] = b + y - flag - 10;
                break;
            }
        }
    }
    float mean = 0;
    for (float v : values)
        mean += v;
    mean /= kProbes;
    float spread = 0;
    for (float v : values)
        spread += (v - mean) * (v - mean);
    spread = std::sqrt(spread) / kProbes;
    sampleValid_ = spread < 0.001f;
    if (sampleValid_) {
        sampleOffset_ = 1 - mean;
        sampleLow_ = sampleOffset_ - 0.005f;
        sampleHigh_ = sampleOffset_ + 0.005f;
    }
}

void PVGLDraw::DrawWithClipPlanes(PVDisplayList& list, const PVMatrix& matrix, int w, int h)
{
    const GLdouble planes[4][4] = {{0, 1, 0, 0}, {0, -1, 0, double(h) + 2}, {1, 0, 0, 0}, {-1, 0, 0, double(w) + 2}};
    for (int i = 0; i < 4; ++i) {
        gGL.glClipPlane(GL_CLIP_PLANE0 + i, planes[i]);
        gGL.glEnable(GL_CLIP_PLANE0 + i);
    }
    layerCounter_ = 0;
    DrawDisplayList(list, matrix, nullptr);
    for (int i = 0; i < 4; ++i)
        gGL.glDisable(GL_CLIP_PLANE0 + i);
}

void PVGLDraw::DrawFrame3D(PVDisplayList& list, const PVMatrix& matrix, int w, int h)
{
    counting_ = true;
    layerCounter_ = 0;
    DrawDisplayList(list, matrix, nullptr);
    layerCount_ = layerCounter_;
    counting_ = false;

    gGL.glMatrixMode(GL_PROJECTION);
    gGL.glLoadIdentity();
    SetPerspective(1.0466667f, float(w) / float(h), 0.1f, 50);
    gGL.glMatrixMode(GL_MODELVIEW);
    gGL.glLoadIdentity();

    const DWORD now = GetTickCount();
    if (animationStart_ == 0)
        animationStart_ = now;
    const DWORD present = dragStart_ ? dragStart_ : now;
    const float t = float(uint32_t(present - animationStart_)) / 1000;
    if (autoRotate_) {
        if (viewMode_ == kCube) {
            autoAzimuth_ = 1.57f + 0.8722222f * t;
            autoElevation_ = 0.4012222f * t;
        } else {
            autoAzimuth_ = 1.57f + 0.8722222f * std::sin(6.28f * t / 30);
            autoElevation_ = 0.4012222f * std::cos(6.28f * t / 53);
        }
    }
    float distance = viewMode_ == kCube ? 1.8f : 1.4f;
    const float ratio = float(h) / float(w);
    if (ratio < 1)
        distance *= std::pow(ratio, 0.25f);
    distance *= baseZoom_ * zoom_ * dragZoomFactor_;
    const float a = autoAzimuth_ + azimuth_ + dragAzimuth_;
    const float e = autoElevation_ + elevation_ + dragElevation_;
    const float m = float(std::max(w, h));
    const int n = layerCount_;

    if (viewMode_ == kSlices || viewMode_ == kPlane) {
        SetCamera(-w / (2 * m), viewMode_ == kSlices ? -0.5f : 0, -h / (2 * m), a, e, distance);
        gGL.glRotatef(-90, 1, 0, 0);
        if (viewMode_ == kSlices) {
            gGL.glScalef(-1 / m, 1 / m, n <= 1 ? 1 : 1.0f / (n - 1));
            gGL.glTranslatef(0, 0, float(1 - n));
        } else {
            gGL.glScalef(-1 / m, 1 / m, 1);
        }
        DrawWithClipPlanes(list, matrix, w, h);
        return;
    }

    SetCamera(0, 0, 0, a, e, distance);
    // What the list sets, it sets each time it is called.
    ForgetGLState();
    gGL.glNewList(1, GL_COMPILE);
    gGL.glTranslatef(-0.5f, 0.5f, 0);
    gGL.glScalef(1.0f / w, -1.0f / h, 1);
    DrawWithClipPlanes(list, matrix, w, h);
    gGL.glEndList();
    ForgetGLState();
    auto xFace = [&] {
        gGL.glPushMatrix();
        if (std::cos(e) * std::cos(a) >= 0) {
            gGL.glTranslatef(0.5f, 0, 0);
            gGL.glRotatef(180, 0, 0, -1);
        } else {
            gGL.glTranslatef(-0.5f, 0, 0);
        }
        gGL.glRotatef(90, 0, -1, 0);
        gGL.glRotatef(90, 0, 0, -1);
        gGL.glCallList(1);
        gGL.glPopMatrix();
    };
    auto yFace = [&] {
        gGL.glPushMatrix();
        if (std::cos(e) * std::sin(a) >= 0) {
            gGL.glTranslatef(0, 0.5f, 0);
            gGL.glRotatef(180, 0, 0, 1);
        } else {
            gGL.glTranslatef(0, -0.5f, 0);
        }
        gGL.glRotatef(90, 1, 0, 0);
        gGL.glCallList(1);
        gGL.glPopMatrix();
    };
    if (std::fabs(std::sin(a)) < std::fabs(std::cos(a))) {
        yFace();
        xFace();
    } else {
        xFace();
        yFace();
    }
    if (std::fabs(std::sin(e) * distance) > 0.5f) {
        gGL.glPushMatrix();
        if (std::sin(e) > 0) {
            gGL.glTranslatef(0, 0, 0.5f);
        } else {
            gGL.glTranslatef(0, 0, -0.5f);
            gGL.glRotatef(180, 0, 1, 0);
        }
        gGL.glCallList(1);
        gGL.glPopMatrix();
    }
    gGL.glDeleteLists(1, 1);
}
