#pragma once
#include "addin/core/PptObjectRef.h"

class MKBstrHolder;
class MKString;

// A holder of a Shape, or of the Shapes or GroupShapes collection that lists
// shapes (PptObjectRef.h tells how every wrapper answers).
class PptShapeRef : public PptObjectRef {
public:
    int32_t GetShapeType() const;  // -2
    int32_t GetShapeId() const;    // -1
    // Every value read is stored; true only when all four were read.
    bool GetBounds(float& left, float& top, float& width, float& height) const;
    bool GetGroupItems(PptShapeRef& out) const;
    // Empty holder, or a shape that was deleted.
    bool IsGone() const;
    // The text is emptied first.
    bool GetOleProgId(MKString& progId) const;
    // The value of the shape's tag; false (value empty) when unreadable.
    bool ReadTag(BSTR name, MKBstrHolder& value) const;
    // The content trigger tag "_VQZ_CTT" holds a non-empty text.
    bool HasContentTag() const;
    // An invisible shape: no visible fill, line or text. Office product codes
    // below 1200 test text boxes only.
    bool IsEmptyShape(int officeProductCode) const;
};
