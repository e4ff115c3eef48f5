#pragma once
#include "addin/hosting/SceneNode.h"
#include "base/MKString.h"

class RasterImage;

// Shows one image file inside a windowed node: the file is decoded and
// resampled to the node's pixel size, copied into the content layer and
// dropped (the next size change decodes again). A file that cannot be read
// is not tried again until the path changes.
class ImageNode : public SceneNode {
public:
    ImageNode();

    int GetNodeType() const override { return Image; }
    const MKString& GetPath() const { return m_path; }
    void SetPath(const MKString& path);
    // Decodes the file at the size; false when it cannot be read.
    bool Decode(int width, int height);
    bool HasDecodedImage() const { return m_decoded != nullptr; }

    // The reader of image files (tests count the reads); null restores
    // LoadImageFile.
    using FileLoader = RasterImage* (*)(const MKString& path);
    static void SetFileLoader(FileLoader loader);

protected:
    NodeProxy* CreateProxy() override;
    ~ImageNode() override;

    void OnRectChanged(const RECT& oldRect, const RECT& newRect, const RECT& oldWindowRect,
                       const RECT& newWindowRect) override;
    bool RenderContent(RECT& changed) override;
    bool OnActivate() override;
    bool OnStart() override;
    bool OnStop() override;

private:
    void DropDecoded();

    MKString m_path;
    RasterImage* m_decoded = nullptr;
};
