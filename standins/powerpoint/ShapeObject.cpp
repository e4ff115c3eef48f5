#include "standins/powerpoint/ShapeObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/FillFormatObject.h"
#include "standins/powerpoint/LineFormatObject.h"
#include "standins/powerpoint/OleFormatObject.h"
#include "standins/powerpoint/PlaceholderFormatObject.h"
#include "standins/powerpoint/ShapeCollectionObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TagsObject.h"
#include "standins/powerpoint/TextFrameObject.h"

namespace standin {

namespace {

// Distinct colours for shapes whose test sets none, so a painted slide shows
// every shape.
COLORREF DefaultColour(int id)
{
    static const COLORREF palette[] = {RGB(220, 40, 40), RGB(40, 160, 60), RGB(40, 80, 220), RGB(230, 170, 20),
                                       RGB(150, 40, 180), RGB(20, 170, 170)};
    return palette[id % (sizeof(palette) / sizeof(palette[0]))];
}

// Answered only by stand-in shapes: the C++ object behind the interface.
const IID kShapeObjectIid = {0x6A1F3E20, 0x4C55, 0x4E0B, {0x9A, 0x61, 0x2F, 0x0D, 0x43, 0x77, 0x19, 0x01}};

}  // namespace

ShapeObject* ShapeObject::FromInterface(IUnknown* unknown)
{
    ShapeObject* shape = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(kShapeObjectIid, reinterpret_cast<void**>(&shape))))
        return nullptr;
    shape->Release();
    return shape;
}

void* ShapeObject::QueryExtra(REFIID iid)
{
    return iid == kShapeObjectIid ? this : nullptr;
}

ShapeObject::ShapeObject(SlideObject* slide, const DocumentStatePtr& document, long type, int id,
                         const std::wstring& name, float left, float top, float width, float height)
    : DispatchObject(L"Shape", {PowerPoint::IID_Shape}),
      m_slide(slide),
      m_document(document),
      m_type(type),
      m_id(id),
      m_name(name),
      m_left(left),
      m_top(top),
      m_width(width),
      m_height(height),
      m_fillColor(DefaultColour(id)),
      m_tags(new TagsObject(document))
{
}

ShapeObject::~ShapeObject()
{
    m_children.Clear();
    if (m_oleObject)
        m_oleObject->Release();
    m_tags->Release();
}

void ShapeObject::SetList(ShapeList* list)
{
    m_list = list;
    if (!list) {
        m_slide = nullptr;
        m_children.Clear();
    }
}

void ShapeObject::Delete()
{
    if (m_list)
        m_list->Remove(this);
}

void ShapeObject::SetBounds(float left, float top, float width, float height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

void ShapeObject::SetFill(bool visible, COLORREF color)
{
    m_fillVisible = visible;
    m_fillColor = color;
}

void ShapeObject::SetText(bool hasTextFrame, bool hasText)
{
    m_hasTextFrame = hasTextFrame;
    m_hasText = hasTextFrame && hasText;
}

void ShapeObject::SetOle(const std::wstring& progId, IDispatch* object)
{
    m_oleProgId = progId;
    if (object)
        object->AddRef();
    if (m_oleObject)
        m_oleObject->Release();
    m_oleObject = object;
}

void ShapeObject::SetPlaceholder(long placeholderType, long containedType)
{
    m_type = PowerPoint::msoPlaceholder;
    m_placeholderType = placeholderType;
    m_containedType = containedType;
}

ShapeObject* ShapeObject::AddChild(long type, const std::wstring& name, float left, float top, float width,
                                   float height)
{
    if (m_type != PowerPoint::msoGroup || !m_slide)
        return nullptr;
    return m_children.Add(new ShapeObject(m_slide, m_document, type, m_slide->NewShapeId(), name, left, top, width, height));
}

int ShapeObject::ZOrderPosition() const
{
    return m_list ? m_list->IndexOf(this) + 1 : 0;
}

HRESULT ShapeObject::GetBound(const wchar_t* member, float field, float* result) const
{
    if (!result)
        return E_POINTER;
    HRESULT hr = EnterAlive(member);
    if (SUCCEEDED(hr))
        *result = field;
    return hr;
}

HRESULT ShapeObject::SetBound(const wchar_t* member, float& field, float value)
{
    HRESULT hr = EnterAlive(member);
    if (SUCCEEDED(hr) && field != value) {
        field = value;
        m_document->Touch();
    }
    return hr;
}

HRESULT ShapeObject::get_Fill(PowerPoint::FillFormat** result)
{
    STANDIN_ALIVE_OUT(L"get_Fill", result);
    *result = new FillFormatObject(this);
    return S_OK;
}

HRESULT ShapeObject::get_GroupItems(PowerPoint::GroupShapes** result)
{
    STANDIN_ALIVE_OUT(L"get_GroupItems", result);
    // Only groups have items; PowerPoint answers an error for other shapes.
    if (m_type != PowerPoint::msoGroup)
        return E_FAIL;
    *result = new ShapeCollectionObject<PowerPoint::GroupShapes, ShapeObject>(L"GroupShapes",
                                                                              PowerPoint::IID_GroupShapes, this);
    return S_OK;
}

HRESULT ShapeObject::get_Height(float* result)
{
    return GetBound(L"get_Height", m_height, result);
}

HRESULT ShapeObject::put_Height(float value)
{
    return SetBound(L"put_Height", m_height, value);
}

HRESULT ShapeObject::get_Left(float* result)
{
    return GetBound(L"get_Left", m_left, result);
}

HRESULT ShapeObject::put_Left(float value)
{
    return SetBound(L"put_Left", m_left, value);
}

HRESULT ShapeObject::get_Line(PowerPoint::LineFormat** result)
{
    STANDIN_ALIVE_OUT(L"get_Line", result);
    *result = new LineFormatObject(this);
    return S_OK;
}

HRESULT ShapeObject::get_Name(BSTR* result)
{
    STANDIN_ALIVE_OUT(L"get_Name", result);
    return ReturnText(m_name, result);
}

HRESULT ShapeObject::put_Name(BSTR value)
{
    STANDIN_ALIVE(L"put_Name");
    m_name = TextFromBstr(value);
    m_document->Touch();
    return S_OK;
}

HRESULT ShapeObject::get_TextFrame(PowerPoint::TextFrame** result)
{
    STANDIN_ALIVE_OUT(L"get_TextFrame", result);
    if (!m_hasTextFrame)
        return E_FAIL;
    *result = new TextFrameObject(this);
    return S_OK;
}

HRESULT ShapeObject::get_Top(float* result)
{
    return GetBound(L"get_Top", m_top, result);
}

HRESULT ShapeObject::put_Top(float value)
{
    return SetBound(L"put_Top", m_top, value);
}

HRESULT ShapeObject::get_Type(long* result)
{
    return GetAliveValue(L"get_Type", m_type, result);
}

HRESULT ShapeObject::get_Visible(long* result)
{
    return GetAliveValue(L"get_Visible", m_visible ? PowerPoint::msoTrue : PowerPoint::msoFalse, result);
}

HRESULT ShapeObject::put_Visible(long value)
{
    STANDIN_ALIVE(L"put_Visible");
    m_visible = value != PowerPoint::msoFalse;
    m_document->Touch();
    return S_OK;
}

HRESULT ShapeObject::get_Width(float* result)
{
    return GetBound(L"get_Width", m_width, result);
}

HRESULT ShapeObject::put_Width(float value)
{
    return SetBound(L"put_Width", m_width, value);
}

HRESULT ShapeObject::get_ZOrderPosition(int* result)
{
    STANDIN_ALIVE_OUT(L"get_ZOrderPosition", result);
    *result = ZOrderPosition();
    return S_OK;
}

HRESULT ShapeObject::get_OLEFormat(PowerPoint::OLEFormat** result)
{
    STANDIN_ALIVE_OUT(L"get_OLEFormat", result);
    bool ole = m_type == PowerPoint::msoEmbeddedOLEObject || m_type == PowerPoint::msoLinkedOLEObject ||
               m_type == PowerPoint::msoOLEControlObject ||
               (m_type == PowerPoint::msoPlaceholder && !m_oleProgId.empty());
    if (!ole)
        return E_FAIL;
    *result = new OleFormatObject(this);
    return S_OK;
}

HRESULT ShapeObject::get_PlaceholderFormat(PowerPoint::PlaceholderFormat** result)
{
    STANDIN_ALIVE_OUT(L"get_PlaceholderFormat", result);
    if (m_type != PowerPoint::msoPlaceholder)
        return E_FAIL;
    *result = new PlaceholderFormatObject(this);
    return S_OK;
}

HRESULT ShapeObject::get_Tags(PowerPoint::Tags** result)
{
    STANDIN_ALIVE_OUT(L"get_Tags", result);
    return ReturnObject(m_tags, result);
}

HRESULT ShapeObject::get_HasTextFrame(long* result)
{
    return GetAliveValue(L"get_HasTextFrame", m_hasTextFrame ? PowerPoint::msoTrue : PowerPoint::msoFalse, result);
}

HRESULT ShapeObject::get_Id(int* result)
{
    return GetAliveValue(L"get_Id", m_id, result);
}

HRESULT ShapeObject::InvokeMember(DISPID id, WORD flags, DISPPARAMS*, VARIANT* result)
{
    if (!IsGet(flags))
        return DISP_E_MEMBERNOTFOUND;
    if (id == 124) {
        long type = 0;
        HRESULT hr = get_Type(&type);
        return AnswerLong(hr, type, result);
    }
    if (id == 2003) {
        PowerPoint::OLEFormat* format = nullptr;
        HRESULT hr = get_OLEFormat(&format);
        return AnswerObject(hr, format, result);
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace standin
