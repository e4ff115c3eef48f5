// Image node reading, decoding and layer formats.
#include "ProxyCalls.h"
#include "SceneTestSupport.h"
#include "addin/hosting/DibSurface.h"
#include "addin/hosting/ImageNode.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/NodeLayer.h"
#include "addin/imaging/ImageFiles.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

int s_reads = 0;

RasterImage* CountingLoader(const MKString& path)
{
    ++s_reads;
    return LoadImageFile(path);
}

class ImageNodeTest : public ::testing::Test {
protected:
    ImageNodeTest() : host(100, 100, 100, 100)
    {
        s_reads = 0;
        ImageNode::SetFileLoader(CountingLoader);
        LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
        windowed = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 80, 80);
        EXPECT_TRUE(layer->Start(true));
    }
    ~ImageNodeTest() override { ImageNode::SetFileLoader(nullptr); }

    MKString Write(const wchar_t* name, uint8_t alpha)
    {
        std::unique_ptr<DibSurface> surface(DibSurface::Create(nullptr, 8, 8));
        surface->FillAll(10, 200, 30, alpha);
        std::wstring path = folder.File(name);
        bool png = path.size() > 4 && path.compare(path.size() - 4, 4, L".png") == 0;
        EXPECT_TRUE(png ? surface->SavePng(MKString(path.c_str()), 6) : surface->SaveJpeg(MKString(path.c_str()), 90));
        return MKString(path.c_str());
    }

    ImageNode* AddImage(const MKString& path)
    {
        auto* image = new ImageNode();
        image->SetPath(path);
        AddTo(windowed, image, 10, 10, 40, 30);
        EXPECT_TRUE(image->Start(false));
        return image;
    }

    ScratchFolder folder;
    TestHost host;
    WindowedNode* windowed = nullptr;
};

TEST_F(ImageNodeTest, AMissingFileIsTriedOnEveryPassAndShownOnceItIsThere)
{
    const MKString path(folder.File(L"late.png").c_str());
    ImageNode* image = AddImage(path);
    const int first = s_reads;
    EXPECT_GE(first, 1);
    for (int i = 1; i <= 3; ++i) {
        image->UpdateContent();
        EXPECT_EQ(s_reads, first + i);
    }
    EXPECT_TRUE(image->IsContentDirty());
    EXPECT_EQ(image->GetContentLayer(), nullptr);

    // The file arrives under the same path: the next pass shows it.
    EXPECT_EQ(Write(L"late.png", 255), path);
    image->UpdateContent();
    EXPECT_EQ(s_reads, first + 4);
    EXPECT_FALSE(image->IsContentDirty());
    ASSERT_NE(image->GetContentLayer(), nullptr);
    uint8_t r, g, b, a;
    ASSERT_TRUE(image->GetContentLayer()->GetSurface()->GetPixel(20, 15, &r, &g, &b, &a));
    EXPECT_NEAR(g, 200, 2);
    // Drawn, the same path again reads nothing.
    image->SetPath(path);
    image->UpdateContent();
    EXPECT_EQ(s_reads, first + 4);
}

TEST_F(ImageNodeTest, PngWithAlphaBlendsJpegCopiesAndOnlyResizingDecodesAgain)
{
    ImageNode* png = AddImage(Write(L"alpha.png", 128));
    ImageNode* jpeg = AddImage(Write(L"plain.jpg", 255));
    ASSERT_NE(png->GetContentLayer(), nullptr);
    ASSERT_NE(jpeg->GetContentLayer(), nullptr);
    EXPECT_EQ(png->GetContentLayer()->GetFormat(), uint32_t(NodeLayer::AlphaMeaningful));
    EXPECT_EQ(jpeg->GetContentLayer()->GetFormat(), 0u);
    EXPECT_EQ(png->GetContentLayer()->GetWidth(), 40);
    EXPECT_EQ(png->GetContentLayer()->GetHeight(), 30);
    // Drawn and premultiplied (128 of 200 green).
    uint8_t r, g, b, a;
    ASSERT_TRUE(png->GetContentLayer()->GetSurface()->GetPixel(20, 15, &r, &g, &b, &a));
    EXPECT_NEAR(g, 100, 2);
    EXPECT_NEAR(a, 128, 2);
    EXPECT_FALSE(png->HasDecodedImage());

    int reads = s_reads;
    png->SetRect(20, 20, 40, 30);  // moved
    EXPECT_EQ(s_reads, reads);
    png->SetRect(20, 20, 50, 30);  // resized
    EXPECT_EQ(s_reads, reads + 1);
    EXPECT_EQ(png->GetContentLayer()->GetWidth(), 50);
    EXPECT_FALSE(png->IsContentDirty());
}

// Content asks a node for a picture of its layer through the node's proxy:
// the PNG holds the layer's pixels as drawn; a node without a layer of
// pixels is refused.
TEST_F(ImageNodeTest, ALayersPixelsAreWrittenAsAPngThroughTheNodesProxy)
{
    ImageNode* image = AddImage(Write(L"opaque.png", 255));
    ASSERT_NE(image->GetContentLayer(), nullptr);
    IDispatch* proxy = image->GetAutomationProxy();
    ASSERT_NE(proxy, nullptr);
    const std::wstring out = folder.File(L"layer.png");
    ASSERT_EQ(Call(proxy, 19, {Text(out), I4(6)}), S_OK);
    // Read back by the file decoder, which drops an alpha that is opaque
    // everywhere.
    RasterImage* written = LoadImageFile(MKString(out.c_str()));
    ASSERT_NE(written, nullptr);
    ASSERT_TRUE(ExpandToDirectColor(&written, true));
    EXPECT_EQ(written->GetWidth(), 40);
    EXPECT_EQ(written->GetHeight(), 30);
    const int size = written->GetBytesPerPixel();
    int wrong = 0;
    for (int y = 0; y < written->GetHeight(); ++y) {
        const uint8_t* row = written->GetTopRow(y);
        for (int x = 0; x < written->GetWidth(); ++x) {
            const uint8_t* pixel = row + size * x;
            wrong += pixel[0] != 10 || pixel[1] != 200 || pixel[2] != 30 || (size == 4 && pixel[3] != 255);
        }
    }
    EXPECT_EQ(wrong, 0);
    written->Release();
    EXPECT_EQ(Call(proxy, 19, {Text(out)}), DISP_E_BADPARAMCOUNT);
    IDispatch* bare = windowed->GetAutomationProxy();
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(Call(bare, 19, {Text(folder.File(L"none.png")), I4(6)}), E_ACCESSDENIED);
    EXPECT_EQ(Call(bare, 18, {Text(folder.File(L"none.jpg")), I4(90)}), E_ACCESSDENIED);
    EXPECT_EQ(GetFileAttributesW(folder.File(L"none.png").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ImageNodeTest, ImagesAreMadeOnlyBelowAWindowedNode)
{
    LayerNode* layer = host->GetLayer(1);
    ASSERT_NE(layer, nullptr);
    int count = layer->GetChildCount();
    layer->CreateImage();
    EXPECT_EQ(layer->GetChildCount(), count);
    windowed->CreateImage();
    ASSERT_EQ(windowed->GetChildCount(), 1);
    EXPECT_EQ(windowed->GetChild(0)->GetNodeType(), SceneNode::Image);
}

}  // namespace
