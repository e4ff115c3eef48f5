#include "addin/core/ShapeScanner.h"

#include <new>

#include "addin/core/EffectTypeLookup.h"
#include "addin/core/PptPresentationRef.h"
#include "addin/core/PptShapeRef.h"
#include "addin/core/ShapeVisit.h"
#include "base/MKAsciiCase.h"
#include "base/MKBstrHolder.h"
#include "base/MKHashMap.h"
#include "base/MKString.h"
#include "hostapi/PowerPointInterfaces.h"

namespace {

// ProgIDs of embedded presentations: "PowerPoint.Show.8", "PowerPoint.Show.12"...
constexpr wchar_t kEmbeddedShowProgId[] = L"PowerPoint.Show";
constexpr int kEmbeddedShowProgIdLength = 15;

void AddVisit(MKTArray<ShapeVisit*>& list, IUnknown* slide, const PptShapeRef& shape, EffectDataRecord* type)
{
    ShapeVisit* visit = new (std::nothrow) ShapeVisit(slide, shape.Get(), type);
    if (visit && !list.Add(visit))
        delete visit;
}

}  // namespace

ShapeScanner::ShapeScanner(EffectTypeLookup& types)
    : m_types(types),
      m_contentTypeTag(SysAllocString(L"_VQZ_CT")),
      m_relatedTypeTag(SysAllocString(L"_VQZ_CTR")),
      m_identityTag(SysAllocString(L"_VQZ_GUID"))
{
}

ShapeScanner::~ShapeScanner()
{
    SysFreeString(m_contentTypeTag);
    SysFreeString(m_relatedTypeTag);
    SysFreeString(m_identityTag);
}

void ShapeScanner::ScanShapes(IUnknown* slide, MKTArray<ShapeVisit*>& list, MKHashMap* related,
                              PptShapeRef* trigger, uint8_t* hasEmbeddedShow) const
{
    if (hasEmbeddedShow)
        *hasEmbeddedShow = 0;
    PptPresentationRef container;
    PptShapeRef collection;
    container.Assign(slide);
    container.GetShapes(collection);
    Walk(collection, slide, {&list, related, trigger, hasEmbeddedShow});
}

void ShapeScanner::ScanShapeCollection(IUnknown* collection, IUnknown* slide, MKTArray<ShapeVisit*>& list,
                                       MKHashMap* related, PptShapeRef* trigger, uint8_t* hasEmbeddedShow) const
{
    if (hasEmbeddedShow)
        *hasEmbeddedShow = 0;
    PptShapeRef held;
    held.Assign(collection);
    Walk(held, slide, {&list, related, trigger, hasEmbeddedShow});
}

void ShapeScanner::Walk(const PptShapeRef& collection, IUnknown* slide, const Outputs& outputs) const
{
    // Count 0 also stands for an unreadable count: the walk ends either way.
    int32_t count = collection.GetCount();
    for (int i = 1; i <= count; ++i) {
        PptShapeRef shape;
        if (!collection.GetItemByVariant(i, shape))
            continue;
        long type = shape.GetShapeType();
        switch (type) {
        case PowerPoint::msoShapeTypeMixed:
            break;  // unreadable
        case PowerPoint::msoGroup: {
            PptShapeRef items;
            shape.GetGroupItems(items);
            Walk(items, slide, outputs);
            break;
        }
        case PowerPoint::msoEmbeddedOLEObject:
        case PowerPoint::msoLinkedOLEObject:
        case PowerPoint::msoOLEControlObject:
            VisitOleObject(shape, type, outputs);
            break;
        default:
            VisitOther(shape, type, slide, outputs);
            break;
        }
    }
}

void ShapeScanner::VisitOleObject(const PptShapeRef& shape, long type, const Outputs& outputs) const
{
    if (outputs.trigger && type == PowerPoint::msoEmbeddedOLEObject && shape.HasContentTag()) {
        if (outputs.trigger->IsEmpty())
            outputs.trigger->Assign(shape.Get());
        return;
    }
    if (!outputs.hasEmbeddedShow || *outputs.hasEmbeddedShow)
        return;
    MKString progId;
    if (shape.GetOleProgId(progId) && progId.GetLength() >= kEmbeddedShowProgIdLength &&
        MKAsciiCompareNoCase(progId.GetText(), kEmbeddedShowProgId, kEmbeddedShowProgIdLength) == 0)
        *outputs.hasEmbeddedShow = 1;
}

void ShapeScanner::VisitOther(const PptShapeRef& shape, long type, IUnknown* slide, const Outputs& outputs) const
{
    if (EffectDataRecord* content = GetContentTypeOfShape(shape, type)) {
        AddVisit(*outputs.list, slide, shape, content);
        return;
    }
    if (!outputs.related)
        return;
    MKString guid;
    EffectDataRecord* related = GetRelatedContentTypeOfShape(shape, type, guid);
    if (!related || outputs.related->Find(guid))
        return;
    ShapeVisit* visit = new (std::nothrow) ShapeVisit(slide, shape.Get(), related);
    if (visit && outputs.related->Set(guid, visit) < 0)
        delete visit;
}

EffectDataRecord* ShapeScanner::LookUpTag(const PptShapeRef& shape, BSTR name) const
{
    MKBstrHolder value;
    if (!shape.ReadTag(name, value) || value.IsEmpty())
        return nullptr;
    return m_types.FindEffectTypeByContentType(value.Get());
}

EffectDataRecord* ShapeScanner::GetContentTypeOfShape(const PptShapeRef& shape, long knownType) const
{
    long type = knownType != 0 ? knownType : shape.GetShapeType();
    if (type != PowerPoint::msoAutoShape)
        return nullptr;
    return LookUpTag(shape, m_contentTypeTag);
}

EffectDataRecord* ShapeScanner::GetRelatedContentTypeOfShape(const PptShapeRef& shape, long type,
                                                             MKString& guid) const
{
    if (type != PowerPoint::msoAutoShape)
        return nullptr;
    EffectDataRecord* found = LookUpTag(shape, m_relatedTypeTag);
    if (!found)
        return nullptr;
    MKBstrHolder identity;
    if (!shape.ReadTag(m_identityTag, identity) || identity.IsEmpty())
        return nullptr;
    guid = identity.ToString();
    return found;
}
