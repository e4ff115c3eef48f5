#pragma once
#include <windows.h>
#include <oleauto.h>

#include <stdint.h>

#include "base/MKTArray.h"

class MKBstrHolder;
class EffectDataRecord;
class EffectTypeLookup;
class MKHashMap;
class MKString;
class PptShapeRef;
struct ShapeVisit;

// One walk over a slide's shapes, into groups at any depth, that finds what
// a slide show must prepare: the shapes carrying content of a registered
// effect type (tag "_VQZ_CT"), shapes related to such content through a
// shape identity (tags "_VQZ_CTR" and "_VQZ_GUID"), the first embedded OLE
// object that triggers content (tag "_VQZ_CTT") and whether the slide holds
// an embedded PowerPoint presentation, which a show cannot run. Unreadable
// shapes are passed over. The lookup must outlive the scanner.
class ShapeScanner {
public:
    explicit ShapeScanner(EffectTypeLookup& types);
    ~ShapeScanner();
    ShapeScanner(const ShapeScanner&) = delete;
    ShapeScanner& operator=(const ShapeScanner&) = delete;

    // Scans the slide's Shapes. New visits are appended to `list`; visits of
    // related shapes go into `related` under their identity text, the first
    // visit of each identity only. The caller owns every visit. `related`,
    // `trigger` and `hasEmbeddedShow` may be null; the flag is cleared first
    // and set when an embedded presentation is found.
    void ScanShapes(IUnknown* slide, MKTArray<ShapeVisit*>& list, MKHashMap* related, PptShapeRef* trigger,
                    uint8_t* hasEmbeddedShow) const;
    // The same over one collection (Shapes or a group's GroupItems) of the
    // slide.
    void ScanShapeCollection(IUnknown* collection, IUnknown* slide, MKTArray<ShapeVisit*>& list,
                             MKHashMap* related, PptShapeRef* trigger, uint8_t* hasEmbeddedShow) const;

    // The effect type of an AutoShape's content tag; null for other shapes.
    // A known type of 0 is read from the shape.
    EffectDataRecord* GetContentTypeOfShape(const PptShapeRef& shape, long knownType) const;
    // The effect type of an AutoShape's related-content tag with the shape's
    // non-empty identity text; null otherwise.
    EffectDataRecord* GetRelatedContentTypeOfShape(const PptShapeRef& shape, long type, MKString& guid) const;

private:
    struct Outputs {
        MKTArray<ShapeVisit*>* list;
        MKHashMap* related;
        PptShapeRef* trigger;
        uint8_t* hasEmbeddedShow;
    };

    void Walk(const PptShapeRef& collection, IUnknown* slide, const Outputs& outputs) const;
    void VisitOleObject(const PptShapeRef& shape, long type, const Outputs& outputs) const;
    void VisitOther(const PptShapeRef& shape, long type, IUnknown* slide, const Outputs& outputs) const;
    EffectDataRecord* LookUpTag(const PptShapeRef& shape, BSTR name) const;

    EffectTypeLookup& m_types;
    BSTR m_contentTypeTag;
    BSTR m_relatedTypeTag;
    BSTR m_identityTag;
};
