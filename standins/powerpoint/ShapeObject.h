#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"
#include "standins/powerpoint/ShapeList.h"

#include <string>

namespace standin {

class SlideObject;
class TagsObject;

// A shape built by test code: type, id, name, bounds in points, visibility,
// fill (with the colour the slide show paints), line, text frame, OLE object,
// placeholder, tags and, for groups, its items. Once it has left its list
// (deleted, or its slide closed) every member answers E_FAIL, as PowerPoint's
// members do on a deleted shape.
class ShapeObject : public DispatchObject<PowerPoint::Shape> {
public:
    ShapeObject(SlideObject* slide, const DocumentStatePtr& document, long type, int id, const std::wstring& name,
                float left, float top, float width, float height);

    // The stand-in shape behind an interface pointer, or null for any other
    // object; not counted (the caller's reference keeps it).
    static ShapeObject* FromInterface(IUnknown* unknown);

    bool IsAlive() const override { return m_list != nullptr; }
    void SetList(ShapeList* list);
    // Removes the shape from its slide or group.
    void Delete();

    long Type() const { return m_type; }
    int Id() const { return m_id; }
    const std::wstring& Name() const { return m_name; }
    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    bool Visible() const { return m_visible; }
    bool FillVisible() const { return m_fillVisible; }
    COLORREF FillColor() const { return m_fillColor; }
    bool LineVisible() const { return m_lineVisible; }
    bool HasTextFrame() const { return m_hasTextFrame; }
    bool HasText() const { return m_hasText; }
    const std::wstring& OleProgId() const { return m_oleProgId; }
    IDispatch* OleObject() const { return m_oleObject; }
    long PlaceholderType() const { return m_placeholderType; }
    long ContainedType() const { return m_containedType; }
    TagsObject* Tags() const { return m_tags; }
    DocumentState& Document() const { return *m_document; }
    ShapeList& ShapeItems() { return m_children; }

    void SetBounds(float left, float top, float width, float height);
    void SetVisible(bool visible) { m_visible = visible; }
    void SetFill(bool visible, COLORREF color);
    void SetLineVisible(bool visible) { m_lineVisible = visible; }
    void SetText(bool hasTextFrame, bool hasText);
    // Embedded, linked or control OLE object of the ProgID.
    void SetOle(const std::wstring& progId, IDispatch* object);
    // A placeholder (type 14) of the placeholder type holding a shape type.
    void SetPlaceholder(long placeholderType, long containedType);
    // A new item of this group (the shape's type must be msoGroup); null for
    // other shapes or a deleted one.
    ShapeObject* AddChild(long type, const std::wstring& name, float left, float top, float width, float height);
    // 1-based position in the z-order of its slide or group; 0 when gone.
    int ZOrderPosition() const;

    HRESULT STDMETHODCALLTYPE get_Fill(PowerPoint::FillFormat** result) override;
    HRESULT STDMETHODCALLTYPE get_GroupItems(PowerPoint::GroupShapes** result) override;
    HRESULT STDMETHODCALLTYPE get_Height(float* result) override;
    HRESULT STDMETHODCALLTYPE put_Height(float value) override;
    HRESULT STDMETHODCALLTYPE get_Left(float* result) override;
    HRESULT STDMETHODCALLTYPE put_Left(float value) override;
    HRESULT STDMETHODCALLTYPE get_Line(PowerPoint::LineFormat** result) override;
    HRESULT STDMETHODCALLTYPE get_Name(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE put_Name(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_TextFrame(PowerPoint::TextFrame** result) override;
    HRESULT STDMETHODCALLTYPE get_Top(float* result) override;
    HRESULT STDMETHODCALLTYPE put_Top(float value) override;
    HRESULT STDMETHODCALLTYPE get_Type(long* result) override;
    HRESULT STDMETHODCALLTYPE get_Visible(long* result) override;
    HRESULT STDMETHODCALLTYPE put_Visible(long value) override;
    HRESULT STDMETHODCALLTYPE get_Width(float* result) override;
    HRESULT STDMETHODCALLTYPE put_Width(float value) override;
    HRESULT STDMETHODCALLTYPE get_ZOrderPosition(int* result) override;
    HRESULT STDMETHODCALLTYPE get_OLEFormat(PowerPoint::OLEFormat** result) override;
    HRESULT STDMETHODCALLTYPE get_PlaceholderFormat(PowerPoint::PlaceholderFormat** result) override;
    HRESULT STDMETHODCALLTYPE get_Tags(PowerPoint::Tags** result) override;
    HRESULT STDMETHODCALLTYPE get_HasTextFrame(long* result) override;
    HRESULT STDMETHODCALLTYPE get_Id(int* result) override;

protected:
    ~ShapeObject() override;
    // Type (124) and OLEFormat (2003) by DISPID.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;
    void* QueryExtra(REFIID iid) override;

private:
    HRESULT SetBound(const wchar_t* member, float& field, float value);
    HRESULT GetBound(const wchar_t* member, float field, float* result) const;

    SlideObject* m_slide;
    DocumentStatePtr m_document;
    ShapeList* m_list = nullptr;
    long m_type;
    int m_id;
    std::wstring m_name;
    float m_left;
    float m_top;
    float m_width;
    float m_height;
    bool m_visible = true;
    bool m_fillVisible = true;
    COLORREF m_fillColor;
    bool m_lineVisible = true;
    bool m_hasTextFrame = false;
    bool m_hasText = false;
    std::wstring m_oleProgId;
    IDispatch* m_oleObject = nullptr;
    long m_placeholderType = 0;
    long m_containedType = 0;
    TagsObject* m_tags;
    ShapeList m_children;
};

}  // namespace standin
