#include "addin/core/PptObjectRef.h"

#include "addin/core/IntVariant.h"

using namespace PowerPoint;

void PptObjectRef::Assign(IUnknown* object)
{
    if (object)
        object->AddRef();
    Attach(object);
}

void PptObjectRef::Attach(IUnknown* object)
{
    IUnknown* old = m_object;
    m_object = object;
    if (old)
        old->Release();
}

void PptObjectRef::Release()
{
    Attach(nullptr);
}

bool PptObjectRef::GetItem(int index, PptObjectRef& out) const
{
    MKComHolder<Sequence> sequence;
    if (Query(IID_Sequence, sequence)) {
        Effect* effect = nullptr;
        return PptFetched(sequence->Item(index, &effect), &effect, out);
    }
    MKComHolder<AnimationBehaviors> behaviors;
    if (Query(IID_AnimationBehaviors, behaviors)) {
        AnimationBehavior* behavior = nullptr;
        return PptFetched(behaviors->Item(index, &behavior), &behavior, out);
    }
    out.Release();
    return false;
}

bool PptObjectRef::GetItemByVariant(int index, PptObjectRef& out) const
{
    const VARIANT position = IntVariant(index);
    MKComHolder<Shapes> shapes;
    MKComHolder<GroupShapes> groupItems;
    MKComHolder<Slides> slides;
    MKComHolder<Presentations> presentations;
    if (Query(IID_Shapes, shapes)) {
        Shape* shape = nullptr;
        return PptFetched(shapes->Item(position, &shape), &shape, out);
    }
    if (Query(IID_GroupShapes, groupItems)) {
        Shape* shape = nullptr;
        return PptFetched(groupItems->Item(position, &shape), &shape, out);
    }
    if (Query(IID_Slides, slides)) {
        Slide* slide = nullptr;
        return PptFetched(slides->Item(position, &slide), &slide, out);
    }
    if (Query(IID_Presentations, presentations)) {
        Presentation* presentation = nullptr;
        return PptFetched(presentations->Item(position, &presentation), &presentation, out);
    }
    out.Release();
    return false;
}

int32_t PptObjectRef::GetCount() const
{
    // Shape collections count in int; every other collection derives from
    // PowerPoint's Collection, whose Count sits in the same slot for all.
    int shapeCount = 0;
    MKComHolder<Shapes> shapes;
    if (Query(IID_Shapes, shapes))
        return SUCCEEDED(shapes->get_Count(&shapeCount)) ? shapeCount : 0;
    MKComHolder<GroupShapes> groupItems;
    if (Query(IID_GroupShapes, groupItems))
        return SUCCEEDED(groupItems->get_Count(&shapeCount)) ? shapeCount : 0;
    static const IID* const s_collections[] = {&IID_Sequence, &IID_AnimationBehaviors, &IID_Slides,
                                               &IID_Sequences, &IID_Presentations, &IID_SlideShowWindows,
                                               &IID_Tags};
    for (const IID* iid : s_collections) {
        MKComHolder<IUnknown> found;
        if (!Query(*iid, found))
            continue;
        long count = 0;
        return SUCCEEDED(static_cast<Collection*>(found.Get())->get_Count(&count)) ? count : 0;
    }
    return 0;
}

bool PptObjectRef::GetFirstObject(PptObjectRef& out) const
{
    MKComHolder<Effect> effect;
    if (Query(IID_Effect, effect)) {
        Shape* shape = nullptr;
        return PptFetched(effect->get_Shape(&shape), &shape, out);
    }
    MKComHolder<TimeLine> timeLine;
    if (Query(IID_TimeLine, timeLine)) {
        Sequence* sequence = nullptr;
        return PptFetched(timeLine->get_MainSequence(&sequence), &sequence, out);
    }
    out.Release();
    return false;
}
