#include "addin/imaging/ImageFiles.h"

#include "addin/imaging/BmpReader.h"
#include "addin/imaging/GifReader.h"
#include "addin/imaging/IndexedImage.h"
#include "addin/imaging/JpegCodec.h"
#include "addin/imaging/PngCodec.h"
#include "base/MKAlloc.h"
#include "base/MKFile.h"
#include "base/MKPath.h"

namespace {

// Replaces *image by the conversion when there is one.
void Replace(RasterImage** image, RasterImage* converted)
{
    if (!converted)
        return;
    (*image)->Release();
    *image = converted;
}

// The smallest pixel type that holds the picture as it is.
void Normalise(RasterImage** image)
{
    if (IndexedImage* indexed = (*image)->AsIndexed()) {
        indexed->CompactPalette();
        return;
    }
    if ((*image)->GetPixelType() == PixelType::Rgb)
        Replace(image, (*image)->ToGrayIfGray());
    else if ((*image)->GetPixelType() == PixelType::Rgba)
        Replace(image, (*image)->ToGrayAlphaIfGray());
    if ((*image)->GetPixelType() == PixelType::Rgba)
        Replace(image, (*image)->ToRgbIfOpaque());
    else if ((*image)->GetPixelType() == PixelType::GrayAlpha)
        Replace(image, (*image)->ToGrayIfOpaque());
}

bool WriteBlock(const MKString& path, uint8_t* data, size_t length)
{
    bool ok = length <= INT32_MAX && MKWriteFile(path, data, int(length));
    MKFree(data);
    return ok;
}

}  // namespace

ImageFileType ImageFileTypeOf(const MKString& path)
{
    static const struct {
        const wchar_t* extension;
        ImageFileType type;
    } kTable[] = {
        {L".bmp", ImageFileType::Bmp},  {L".rle", ImageFileType::Bmp},  {L".dib", ImageFileType::Bmp},
        {L".gif", ImageFileType::Gif},  {L".jpg", ImageFileType::Jpeg}, {L".jpeg", ImageFileType::Jpeg},
        {L".jpe", ImageFileType::Jpeg}, {L".jif", ImageFileType::Jpeg}, {L".jfif", ImageFileType::Jpeg},
        {L".png", ImageFileType::Png},
    };
    if (path.IsEmpty())
        return ImageFileType::None;
    MKString extension = MKPathSplitExtension(path).ToLower();
    for (const auto& entry : kTable) {
        if (extension.EqualsText(entry.extension))
            return entry.type;
    }
    return ImageFileType::None;
}

namespace {

// Opens `path` for reading when its extension names an image type, which
// goes to `type`; null otherwise.
FILE* OpenImageFile(const MKString& path, ImageFileType& type)
{
    type = ImageFileTypeOf(path);
    return type == ImageFileType::None ? nullptr : MKOpenCFile(path, L"rb");
}

}  // namespace

bool ReadImageFileSize(const MKString& path, int* width, int* height)
{
    ImageFileType type;
    FILE* file = OpenImageFile(path, type);
    if (!file)
        return false;
    bool ok = false;
    switch (type) {
    case ImageFileType::Bmp:
        ok = BmpReadSize(file, width, height);
        break;
    case ImageFileType::Gif:
        ok = GifReadSize(file, width, height);
        break;
    case ImageFileType::Jpeg:
        ok = JpegReadSize(file, width, height);
        break;
    default:
        ok = PngReadSize(file, width, height);
        break;
    }
    MKCloseCFile(file);
    return ok;
}

RasterImage* LoadImageFile(const MKString& path)
{
    ImageFileType type;
    FILE* file = OpenImageFile(path, type);
    if (!file)
        return nullptr;
    RasterImage* image = nullptr;
    switch (type) {
    case ImageFileType::Bmp:
        image = BmpDecode(file);
        break;
    case ImageFileType::Gif:
        image = GifLoadFirstFrame(file);
        break;
    case ImageFileType::Jpeg:
        image = JpegDecode(file, nullptr, nullptr);
        break;
    default:
        image = PngDecode(file);
        break;
    }
    MKCloseCFile(file);
    if (!image)
        return nullptr;
    Normalise(&image);
    MKString drive, folder, name, extension;
    if (MKPathSplit(path, drive, folder, name, extension))
        image->SetName(name + extension);
    image->SetPath(path);
    image->SetModifiedTime(MKFileModifiedTime(path));
    return image;
}

bool SavePngFile(const RasterImage* image, const MKString& path, int level)
{
    uint8_t* data = nullptr;
    size_t length = 0;
    return PngEncode(image, &data, &length, level) && WriteBlock(path, data, length);
}

bool SaveJpegFile(const RasterImage* image, const MKString& path, int quality, bool progressive, bool rowsTopDown,
                  ImageCancelCallback progress, void* user)
{
    if (!image || (image->GetPixelType() != PixelType::Rgb && image->GetPixelType() != PixelType::Gray))
        return false;
    uint8_t* data = nullptr;
    size_t length = 0;
    return JpegWriteImageToMemory(image, &data, &length, quality, progressive, rowsTopDown, progress, user) &&
           WriteBlock(path, data, length);
}
