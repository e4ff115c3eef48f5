#include "addin/core/ShapeVisit.h"

ShapeVisit::ShapeVisit(IUnknown* scannedContainer, IUnknown* foundShape, EffectDataRecord* type)
    : effectType(type)
{
    container.Assign(scannedContainer);
    shape.Assign(foundShape);
}
