#include "addin/hosting/ImageNode.h"

#include "addin/hosting/ImageNodeProxy.h"
#include "addin/hosting/NodeLayer.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/ImageFilters.h"
#include "addin/imaging/ResizeImage.h"

namespace {

ImageNode::FileLoader s_loader = nullptr;

}  // namespace

void ImageNode::SetFileLoader(FileLoader loader)
{
    s_loader = loader;
}

ImageNode::ImageNode() : SceneNode(false) {}

ImageNode::~ImageNode()
{
    DropDecoded();
}

void ImageNode::DropDecoded()
{
    if (m_decoded)
        m_decoded->Release();
    m_decoded = nullptr;
}

void ImageNode::SetPath(const MKString& path)
{
    if (path == m_path)
        return;
    m_path = path;
    DropDecoded();
    InvalidateContent();
}

bool ImageNode::Decode(int width, int height)
{
    DropDecoded();
    // Read on every pass: a file that is missing or still being written now
    // may be there on the next one.
    RasterImage* image = s_loader ? s_loader(m_path) : LoadImageFile(m_path);
    if (!image || !ExpandToDirectColor(&image, true)) {
        if (image)
            image->Release();
        return false;
    }
    m_decoded = ResizeImage(image, width, height, FilterFast, nullptr, nullptr);
    image->Release();
    return true;
}

void ImageNode::OnRectChanged(const RECT& oldRect, const RECT& newRect, const RECT& oldWindowRect,
                              const RECT& newWindowRect)
{
    SceneNode::OnRectChanged(oldRect, newRect, oldWindowRect, newWindowRect);
    if (oldRect.right - oldRect.left == newRect.right - newRect.left &&
        oldRect.bottom - oldRect.top == newRect.bottom - newRect.top)
        return;
    DropDecoded();
    InvalidateContent();
    if (HasRenderer())
        UpdateContent();
}

bool ImageNode::RenderContent(RECT& changed)
{
    changed = RECT{};
    const int width = GetPixelWidth(), height = GetPixelHeight();
    if (width == 0 || height == 0)
        return true;
    if (!m_decoded && !Decode(width, height))
        return false;
    if (!m_decoded)
        return false;
    NodeLayer* layer = GetOrCreateLayer(width, height, m_decoded->HasAlpha() ? NodeLayer::AlphaMeaningful : 0);
    RECT update;
    if (!layer || !layer->BeginDraw(update)) {
        DropDecoded();
        return false;
    }
    layer->DrawPixels(*m_decoded, 0, 0, width, height, 0, 0);
    DropDecoded();
    layer->EndDraw();
    changed = GetWindowPixelRect();
    return true;
}

bool ImageNode::OnActivate()
{
    DropDecoded();
    InvalidateContent();
    if (GetPixelWidth() > 0 && GetPixelHeight() > 0)
        Decode(GetPixelWidth(), GetPixelHeight());
    UpdateContent();
    return true;
}

bool ImageNode::OnStart()
{
    UpdateContent();
    return true;
}

bool ImageNode::OnStop()
{
    ReleaseLayer();
    DropDecoded();
    return true;
}

NodeProxy* ImageNode::CreateProxy()
{
    return MakeNodeProxy<ImageNodeProxy>(this);
}
