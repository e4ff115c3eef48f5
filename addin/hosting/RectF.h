#pragma once

class RectList;
class SceneNode;

// An axis-aligned rectangle of floats in logical host units. Empty when
// right <= left or bottom <= top; the inverted rectangle (left and top at
// FLT_MAX, right and bottom at -FLT_MAX) is the empty start of a union.
struct RectF {
    RectF() = default;
    RectF(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}

    static RectF Inverted();
    // The node's host rectangle: (host x, host y, host x + width, host y + height).
    static RectF FromNode(const SceneNode& node);

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const RectF& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
    // Grows to cover a non-empty other rectangle; an empty one changes nothing.
    void Unite(const RectF& other);

    // Both non-empty and overlapping with area: touching edges do not count.
    static bool Intersects(const RectF& a, const RectF& b);

    // Cuts this rectangle by `cut`: `intersection` gets the common part
    // (inverted when there is none) and `pieces` (emptied first) the rest as
    // at most four non-overlapping rectangles: a full-height strip left of the
    // cut, one right of it, then the strips above and below the cut between
    // them. An empty rectangle gives no piece; one the cut misses is its own
    // only piece.
    void Split(const RectF& cut, RectF& intersection, RectList& pieces) const;

    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};
