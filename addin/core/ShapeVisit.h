#pragma once
#include <unknwn.h>

#include <stdint.h>

#include "addin/core/PptPresentationRef.h"
#include "addin/core/PptShapeRef.h"

class EffectDataRecord;

// One shape that a shape scan found: the scanned slide (may be empty) and
// the shape, one reference each, with the effect type whose content it
// carries (the registry's record, not owned). Made and owned by whoever
// asked for the scan.
struct ShapeVisit {
    ShapeVisit(IUnknown* scannedContainer, IUnknown* foundShape, EffectDataRecord* type);
    ShapeVisit(const ShapeVisit&) = delete;
    ShapeVisit& operator=(const ShapeVisit&) = delete;

    PptPresentationRef container;
    PptShapeRef shape;
    EffectDataRecord* effectType;
    int32_t index = -1;
};
