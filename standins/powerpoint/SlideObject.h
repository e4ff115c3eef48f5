#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"
#include "standins/powerpoint/ShapeList.h"

#include <string>

namespace standin {

class ShapeObject;
class SlidesObject;
class TagsObject;
class TimeLineObject;

// A slide built by test code: SlideID, name, shapes, tags, time line and the
// background colour the slide show paints. The owner pointer is not counted;
// once the slide has left its presentation every member answers E_FAIL.
class SlideObject : public DispatchObject<PowerPoint::Slide> {
public:
    SlideObject(SlidesObject* owner, const DocumentStatePtr& document, long slideId);

    bool IsAlive() const override { return m_owner != nullptr; }
    // The slide leaves its presentation: its shapes and effects are dropped.
    void Detach();

    long SlideId() const { return m_slideId; }
    // 1-based position in the presentation; 0 once gone.
    int Index() const;
    const std::wstring& Name() const { return m_name; }
    ShapeList& ShapeItems() { return m_shapes; }
    TagsObject* Tags() const { return m_tags; }
    TimeLineObject* TimeLine() const { return m_timeLine; }
    COLORREF Background() const { return m_background; }
    void SetBackground(COLORREF colour) { m_background = colour; }
    int NewShapeId() { return m_nextShapeId++; }

    // A new shape at the top of the z-order, with the next shape id.
    ShapeObject* AddShape(long type, const std::wstring& name, float left, float top, float width, float height);

    HRESULT STDMETHODCALLTYPE get_Shapes(PowerPoint::Shapes** result) override;
    HRESULT STDMETHODCALLTYPE get_Name(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_SlideID(long* result) override;
    HRESULT STDMETHODCALLTYPE get_Tags(PowerPoint::Tags** result) override;
    HRESULT STDMETHODCALLTYPE get_SlideIndex(int* result) override;
    HRESULT STDMETHODCALLTYPE get_SlideNumber(int* result) override;
    HRESULT STDMETHODCALLTYPE get_TimeLine(PowerPoint::TimeLine** result) override;

protected:
    ~SlideObject() override;
    // Shapes (2003) by DISPID.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;

private:

    SlidesObject* m_owner;
    DocumentStatePtr m_document;
    long m_slideId;
    std::wstring m_name;
    ShapeList m_shapes;
    TagsObject* m_tags;
    TimeLineObject* m_timeLine;
    COLORREF m_background = RGB(255, 255, 255);
    int m_nextShapeId = 2;
};

}  // namespace standin
