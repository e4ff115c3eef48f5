// Renderer and layer rules: background fills, blend alphas, the quad's
// vertices, copy clipping, locking, and Direct3D blending of opacity and
// premultiplied pixels.
#include "BackBufferPixels.h"
#include "SceneTestSupport.h"
#include "addin/hosting/DibSurface.h"
#include "addin/hosting/Direct3DLayer.h"
#include "addin/hosting/Direct3DRenderer.h"
#include "addin/hosting/GdiLayer.h"
#include "addin/hosting/GdiRenderer.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/TexturedQuad.h"

#include <gtest/gtest.h>

namespace {

// A content node that fills its layer with one colour (R, G, B, A) in the
// format it is given.
class FillNode : public TestContentNode {
public:
    FillNode(uint32_t format, uint8_t r, uint8_t g, uint8_t b, uint8_t a) : format(format), colour{r, g, b, a} {}

    bool RenderContent(RECT& changed) override
    {
        changed = RECT{};
        NodeLayer* layer = GetOrCreateLayer(GetPixelWidth(), GetPixelHeight(), format);
        RECT update;
        if (!layer || !layer->BeginDraw(update))
            return false;
        PixelBuffer view;
        RECT destination;
        if (layer->Lock(update, view, destination))
            view.Fill(destination, colour[0], colour[1], colour[2], colour[3]);
        layer->EndDraw();
        changed = GetWindowPixelRect();
        return true;
    }

    uint32_t format;
    uint8_t colour[4];
};

struct Scene {
    Scene() : host(100, 100, 100, 100) { layer = host->CreateLayer(0, 0, 100, 100, true, false); }

    WindowedNode* Windowed(int mode, int native, int renderer, const uint8_t (&background)[4])
    {
        auto* node = AddTo(layer, new WindowedNode(mode, native, renderer), 0, 0, 40, 40);
        node->SetBackgroundColor(background[0], background[1], background[2], background[3]);
        return node;
    }

    bool Start() { return layer->Start(true); }

    TestHost host;
    LayerNode* layer = nullptr;
};

TEST(GdiRenderer, TheFrameIsFilledWithTheBackgroundByWindowMode)
{
    struct Case {
        int mode, native;
        uint8_t background[4];
        float opacity;
        uint8_t expected[4];  // R, G, B, A of the filled pixel; A 7 marks "left unfilled"
    } cases[] = {
        {3, 0, {255, 0, 0, 128}, 1.0f, {128, 0, 0, 128}},  // premultiplied
        {3, 0, {255, 0, 0, 128}, 0.5f, {64, 0, 0, 64}},
        {3, 0, {10, 20, 30, 0}, 1.0f, {0, 0, 0, 0}},
        {0, 0, {10, 20, 30, 0}, 1.0f, {10, 20, 30, 255}},  // opaque in other modes
        {2, 0, {10, 20, 30, 128}, 0.5f, {10, 20, 30, 255}},
        {0, 1, {10, 20, 30, 0}, 1.0f, {1, 2, 3, 7}},       // a native node's background shows
    };
    for (const Case& c : cases) {
        Scene scene;
        WindowedNode* node = scene.Windowed(c.mode, c.native, 0, c.background);
        node->SetOpacity(c.opacity);
        ASSERT_TRUE(scene.Start());
        auto* renderer = static_cast<GdiRenderer*>(node->GetRenderer());
        ASSERT_EQ(renderer->GetKind(), NodeRenderer::Gdi);
        renderer->GetBackBuffer()->FillAll(1, 2, 3, 7);
        renderer->AddDirty(nullptr);
        RECT frame;
        ASSERT_TRUE(renderer->BeginFrame(frame));
        renderer->EndFrame();
        uint8_t r, g, b, a;
        ASSERT_TRUE(renderer->GetBackBuffer()->GetPixel(5, 5, &r, &g, &b, &a));
        EXPECT_EQ((std::vector<int>{r, g, b, a}),
                  (std::vector<int>{c.expected[0], c.expected[1], c.expected[2], c.expected[3]}))
            << "mode " << c.mode << " native " << c.native << " opacity " << c.opacity;
    }
}

TEST(GdiLayer, TheBlendAlphaFollowsOpacityWindowModeAndNativeBackground)
{
    struct Case {
        int mode, native;
        uint8_t backgroundAlpha;
        float windowOpacity, childOpacity;
        bool ownLayer;
        int expected;
    } cases[] = {
        {0, 0, 255, 1.0f, 0.5f, false, 128},
        {0, 0, 255, 0.5f, 0.5f, false, 64},   // effective opacity
        {2, 0, 255, 0.5f, 1.0f, false, 255},  // the layered window applies its own alpha
        {2, 0, 255, 0.5f, 0.5f, false, 128},
        {0, 1, 128, 1.0f, 1.0f, true, 127},   // native: 255 - background alpha
        {0, 1, 0, 1.0f, 1.0f, true, 255},
    };
    for (const Case& c : cases) {
        Scene scene;
        const uint8_t background[4] = {0, 0, 0, c.backgroundAlpha};
        WindowedNode* node = scene.Windowed(c.mode, c.native, 0, background);
        node->SetOpacity(c.windowOpacity);
        auto* child = AddTo(node, new FillNode(0, 0, 0, 0, 255), 0, 0, 20, 20);
        child->SetOpacity(c.childOpacity);
        ASSERT_TRUE(scene.Start());
        SceneNode* owner = c.ownLayer ? static_cast<SceneNode*>(node) : child;
        auto* layer = static_cast<GdiLayer*>(owner->GetOrCreateLayer(20, 20, 0));
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->GetBlendAlpha(), c.expected) << "case mode " << c.mode << " native " << c.native;
    }
}

TEST(TexturedQuad, VerticesFanFromTheTopLeftAtHalfPixels)
{
    TexturedQuad::Vertex v[4];
    TexturedQuad::FillVertices(10, 20, 30, 40, 128, v);
    const float expected[4][4] = {{9.5f, 19.5f, 0, 0}, {39.5f, 19.5f, 1, 0}, {39.5f, 59.5f, 1, 1}, {9.5f, 59.5f, 0, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].x, expected[i][0]);
        EXPECT_EQ(v[i].y, expected[i][1]);
        EXPECT_EQ(v[i].u, expected[i][2]);
        EXPECT_EQ(v[i].v, expected[i][3]);
        EXPECT_EQ(v[i].z, 0.0f);
        EXPECT_EQ(v[i].rhw, 1.0f);
        EXPECT_EQ(v[i].diffuse, 0x80FFFFFFu);
    }
    EXPECT_EQ(sizeof(v), 112u);
    EXPECT_EQ(TexturedQuad::kFvf, 0x144u);
}

TEST(NodeLayer, ClipCopyKeepsSourceAndDestinationTogether)
{
    struct Case {
        int sourceWidth, sourceHeight;
        int x, y, width, height, destX, destY;
        bool kept;
        int ex, ey, ewidth, eheight, edestX, edestY;
    } cases[] = {
        {50, 50, 0, 0, 10, 10, 5, 5, true, 0, 0, 10, 10, 5, 5},
        {50, 50, -3, 0, 10, 10, 0, 0, true, 0, 0, 7, 10, 3, 0},     // left of the source
        {50, 50, 0, 0, 10, 10, -4, -2, true, 4, 2, 6, 8, 0, 0},     // left of the layer
        {50, 50, 45, 0, 10, 10, 0, 0, true, 45, 0, 5, 10, 0, 0},    // past the source
        {50, 50, 0, 0, 30, 30, 15, 15, true, 0, 0, 5, 5, 15, 15},   // past the 20 x 20 layer
        {50, 50, 0, 0, 10, 10, 20, 0, false, 0, 0, 0, 0, 0, 0},
        {50, 50, 60, 0, 10, 10, 0, 0, false, 0, 0, 0, 0, 0, 0},
    };
    Scene scene;
    const uint8_t background[4] = {};
    WindowedNode* node = scene.Windowed(0, 0, 0, background);
    ASSERT_TRUE(scene.Start());
    GdiLayer layer(node, 20, 20, 0);
    for (const Case& c : cases) {
        int x = c.x, y = c.y, width = c.width, height = c.height, destX = c.destX, destY = c.destY;
        bool kept = layer.ClipCopy(c.sourceWidth, c.sourceHeight, x, y, width, height, destX, destY);
        EXPECT_EQ(kept, c.kept) << c.x << "," << c.destX;
        if (kept)
            EXPECT_EQ((std::vector<int>{x, y, width, height, destX, destY}),
                      (std::vector<int>{c.ex, c.ey, c.ewidth, c.eheight, c.edestX, c.edestY}));
    }
}

// The Direct3D back buffer pixel of a 40 x 40 node as 0xRRGGBB.
DWORD BackBufferPixel(WindowedNode* node, int x, int y)
{
    std::vector<DWORD> pixels = ReadBackBuffer(node);
    EXPECT_EQ(pixels.size(), 1600u);
    return pixels.size() == 1600 ? pixels[y * 40 + x] & 0xFFFFFF : 0xDEADBEEF;
}

TEST(Direct3DLayer, OpacityAndPremultipliedPixelsBlendOverTheBackground)
{
    struct Case {
        uint32_t format;
        uint8_t pixel[4];  // R, G, B, A as written into the layer
        float opacity;
        DWORD expected;
    } cases[] = {
        {0, {255, 0, 0, 255}, 0.5f, 0x800080},                            // opacity without alpha
        {NodeLayer::AlphaMeaningful, {255, 0, 0, 128}, 1.0f, 0x80007F},   // straight alpha
        {NodeLayer::AlphaMeaningful | NodeLayer::PremultipliedBlend, {128, 0, 0, 128}, 1.0f, 0x80007F},
        {NodeLayer::AlphaMeaningful | NodeLayer::PremultipliedBlend, {128, 0, 0, 128}, 0.5f, 0x4000BF},
    };
    for (const Case& c : cases) {
        Scene scene;
        const uint8_t blue[4] = {0, 0, 255, 255};
        WindowedNode* node = scene.Windowed(0, 0, 2, blue);
        auto* fill = AddTo(node, new FillNode(c.format, c.pixel[0], c.pixel[1], c.pixel[2], c.pixel[3]), 0, 0, 20,
                           20);
        fill->SetOpacity(c.opacity);
        ASSERT_TRUE(scene.Start());
        ASSERT_EQ(node->GetRenderer()->GetKind(), NodeRenderer::Direct3D);
        ASSERT_TRUE(fill->UpdateContent());
        RECT drawn;
        ASSERT_TRUE(node->ComposeFrame(drawn));
        DWORD actual = BackBufferPixel(node, 10, 10);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_NEAR(int(actual >> shift & 0xFF), int(c.expected >> shift & 0xFF), 2)
                << std::hex << actual << " format " << c.format << " opacity " << c.opacity;
        EXPECT_EQ(BackBufferPixel(node, 30, 30), 0x0000FFu);
    }
}

TEST(Direct3DLayer, LockOpensOnlyPixelsInsideTheLayer)
{
    Scene scene;
    const uint8_t blue[4] = {0, 0, 255, 255};
    WindowedNode* node = scene.Windowed(0, 0, 2, blue);
    auto* fill = AddTo(node, new FillNode(0, 0, 0, 0, 255), 0, 0, 20, 20);
    ASSERT_TRUE(scene.Start());
    ASSERT_EQ(node->GetRenderer()->GetKind(), NodeRenderer::Direct3D);
    auto* layer = static_cast<Direct3DLayer*>(fill->GetOrCreateLayer(20, 20, 0));
    layer->AddDirty(nullptr);
    RECT update;
    ASSERT_TRUE(layer->BeginDraw(update));
    PixelBuffer view;
    RECT destination;
    ASSERT_TRUE(layer->Lock(RECT{-5, 10, 30, 40}, view, destination));
    EXPECT_EQ(view.GetWidth(), 20);
    EXPECT_EQ(view.GetHeight(), 10);
    EXPECT_EQ((std::vector<LONG>{destination.left, destination.top, destination.right, destination.bottom}),
              (std::vector<LONG>{0, 0, 20, 10}));
    // A rectangle inside the locked one reuses the lock, offset inside it.
    PixelBuffer inner;
    ASSERT_TRUE(layer->Lock(RECT{2, 12, 6, 16}, inner, destination));
    EXPECT_EQ(inner.GetData(), view.GetData());
    EXPECT_EQ((std::vector<LONG>{destination.left, destination.top, destination.right, destination.bottom}),
              (std::vector<LONG>{2, 2, 6, 6}));
    EXPECT_FALSE(layer->Lock(RECT{20, 0, 30, 10}, inner, destination));
    layer->EndDraw();
}

}  // namespace
