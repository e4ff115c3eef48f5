#pragma once
#include <cstdint>

struct PVFillStyle;
struct PVLineStyle;

// One straight or quadratic edge of a shape, in twips. Fills and line point
// into the shape's own style arrays (null for none). The list links belong
// to the shape's edge list; `sortLink` is used while preparing only.
struct PVShapeEdge {
    uint8_t straight;
    // First edge of a group of edges filled together.
    uint8_t groupStart;
    // Preparation swapped the ends (and the fills with them).
    uint8_t reversed;
    int32_t startX;
    int32_t startY;
    int32_t endX;
    int32_t endY;
    int32_t controlX;
    int32_t controlY;
    PVFillStyle* fill0;
    PVFillStyle* fill1;
    PVLineStyle* line;
    PVShapeEdge* next;
    PVShapeEdge* previous;
    PVShapeEdge* sortLink;
};
