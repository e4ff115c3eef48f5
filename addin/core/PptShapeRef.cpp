#include "addin/core/PptShapeRef.h"

#include "addin/core/IntVariant.h"
#include "base/MKBstrHolder.h"
#include "base/MKString.h"

using namespace PowerPoint;

namespace {

constexpr long kLocaleNeutral = 1024;

// The tag that marks a shape as the trigger of content. Made once, freed at
// process exit.
BSTR ContentTagName()
{
    static MKBstrHolder s_name;
    if (!s_name.Get())
        *s_name.Receive() = SysAllocString(L"_VQZ_CTT");
    return s_name.Get();
}

bool IsTrue(long triState)
{
    return triState == msoTrue;
}

}  // namespace


int32_t PptShapeRef::GetShapeType() const
{
    return QueryValue(IID_Shape, &Shape::get_Type, msoShapeTypeMixed);
}

int32_t PptShapeRef::GetShapeId() const
{
    return QueryValue(IID_Shape, &Shape::get_Id, -1);
}

bool PptShapeRef::GetBounds(float& left, float& top, float& width, float& height) const
{
    MKComHolder<Shape> shape;
    if (!Query(IID_Shape, shape))
        return false;
    float value = 0;
    int read = 0;
    if (SUCCEEDED(shape->get_Left(&value)))
        left = value, ++read;
    if (SUCCEEDED(shape->get_Top(&value)))
        top = value, ++read;
    if (SUCCEEDED(shape->get_Width(&value)))
        width = value, ++read;
    if (SUCCEEDED(shape->get_Height(&value)))
        height = value, ++read;
    return read == 4;
}

bool PptShapeRef::GetGroupItems(PptShapeRef& out) const
{
    return QueryChild(IID_Shape, &Shape::get_GroupItems, out);
}

bool PptShapeRef::IsGone() const
{
    MKComHolder<Shape> shape;
    float left = 0;
    return !Query(IID_Shape, shape) || FAILED(shape->get_Left(&left));
}

bool PptShapeRef::GetOleProgId(MKString& progId) const
{
    progId.Clear();
    MKComHolder<Shape> shape;
    OLEFormat* format = nullptr;
    MKComHolder<OLEFormat> ole;
    MKBstrHolder text;
    if (!Query(IID_Shape, shape) || !PptFetched(shape->get_OLEFormat(&format), &format, ole) ||
        FAILED(ole->get_ProgID(text.Receive())))
        return false;
    progId = text.ToString();
    return true;
}

bool PptShapeRef::ReadTag(BSTR name, MKBstrHolder& value) const
{
    value.Empty();
    MKComHolder<Shape> shape;
    Tags* list = nullptr;
    MKComHolder<Tags> tags;
    return Query(IID_Shape, shape) && PptFetched(shape->get_Tags(&list), &list, tags) &&
           SUCCEEDED(tags->Item(name, value.Receive()));
}

bool PptShapeRef::HasContentTag() const
{
    MKBstrHolder value;
    return ReadTag(ContentTagName(), value) && !value.IsEmpty();
}

namespace {

bool IsEmptyShapeOfType(Shape* shape, long type);

// Neither a visible fill, nor a visible line, nor text; every read must work.
bool HasNothingVisible(Shape* shape)
{
    FillFormat* fillFormat = nullptr;
    MKComHolder<FillFormat> fill;
    LineFormat* lineFormat = nullptr;
    MKComHolder<LineFormat> line;
    long fillVisible = 0;
    long lineVisible = 0;
    long hasFrame = 0;
    if (!PptFetched(shape->get_Fill(&fillFormat), &fillFormat, fill) || FAILED(fill->get_Visible(&fillVisible)) ||
        !PptFetched(shape->get_Line(&lineFormat), &lineFormat, line) || FAILED(line->get_Visible(&lineVisible)) ||
        FAILED(shape->get_HasTextFrame(&hasFrame)))
        return false;
    if (IsTrue(fillVisible) || IsTrue(lineVisible))
        return false;
    if (!IsTrue(hasFrame))
        return true;
    TextFrame* textFrame = nullptr;
    MKComHolder<TextFrame> frame;
    long hasText = 0;
    return PptFetched(shape->get_TextFrame(&textFrame), &textFrame, frame) && SUCCEEDED(frame->get_HasText(&hasText)) &&
           !IsTrue(hasText);
}

bool IsEmptyGroup(Shape* shape)
{
    GroupShapes* list = nullptr;
    MKComHolder<GroupShapes> items;
    int count = 0;
    if (!PptFetched(shape->get_GroupItems(&list), &list, items) || FAILED(items->get_Count(&count)))
        return false;
    for (int i = 1; i <= count; ++i) {
        Shape* found = nullptr;
        MKComHolder<Shape> item;
        long type = 0;
        if (!PptFetched(items->Item(IntVariant(i), &found), &found, item) || FAILED(item->get_Type(&type)) ||
            !IsEmptyShapeOfType(item.Get(), type))
            return false;
    }
    return true;
}

// A placeholder is as empty as the kind of shape it holds; its contained
// type is newer than the interface layout, so it is read through IDispatch.
bool IsEmptyPlaceholder(Shape* shape)
{
    PlaceholderFormat* found = nullptr;
    MKComHolder<PlaceholderFormat> format;
    if (!PptFetched(shape->get_PlaceholderFormat(&found), &found, format))
        return false;
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = format->Invoke(DISPID_PlaceholderFormat_ContainedType, IID_NULL, kLocaleNeutral,
                                DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    if (FAILED(hr) || FAILED(VariantChangeType(&result, &result, 0, VT_I4))) {
        VariantClear(&result);
        return false;
    }
    long contained = result.lVal;
    if (contained == msoAutoShape)
        return HasNothingVisible(shape);
    if (contained == msoPlaceholder || contained == msoShapeTypeMixed)
        return false;
    return IsEmptyShapeOfType(shape, contained);
}

bool IsEmptyShapeOfType(Shape* shape, long type)
{
    switch (type) {
    case msoAutoShape:
    case msoCallout:
    case msoFreeform:
    case msoLine:
    case 15:  // msoTextEffect
    case msoTextBox:
        return HasNothingVisible(shape);
    case msoGroup:
        return IsEmptyGroup(shape);
    case msoPlaceholder:
        return IsEmptyPlaceholder(shape);
    default:
        return false;
    }
}

}  // namespace

bool PptShapeRef::IsEmptyShape(int officeProductCode) const
{
    MKComHolder<Shape> shape;
    long type = 0;
    if (!Query(IID_Shape, shape) || FAILED(shape->get_Type(&type)))
        return false;
    // Before Office 2007 only text boxes are left empty on purpose.
    if (officeProductCode < 1200 && type != msoTextBox)
        return false;
    return IsEmptyShapeOfType(shape.Get(), type);
}
