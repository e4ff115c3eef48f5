#pragma once
#include "addin/hosting/RectF.h"
#include "base/MKTArray.h"

// A region of the host area as a list of float rectangles. Rectangles added
// with AddRect never overlap; Append does not check. Empty rectangles are
// never stored. The list owns its rectangles; copies are deep. When memory
// runs out a rectangle may be left out (the region then shrinks, it never
// grows). One thread at a time.
class RectList {
public:
    RectList() = default;
    RectList(const RectList& other);
    RectList& operator=(const RectList& other);

    int GetCount() const { return m_rects.GetCount(); }
    const RectF& operator[](int index) const { return m_rects[index]; }
    void Clear() { m_rects.RemoveAll(); }

    // Adds a copy of a non-empty rectangle; an empty one is ignored.
    void Append(const RectF& rect);
    void Append(float left, float top, float right, float bottom) { Append(RectF(left, top, right, bottom)); }
    // The node's host rectangle.
    void AppendNode(const SceneNode& node) { Append(RectF::FromNode(node)); }
    // Subtract, then Append: the list covers the union and stays free of overlaps.
    void AddRect(float left, float top, float right, float bottom);

    // Cuts `cut` out of every rectangle: each overlapped one is replaced, in
    // its place in the order, by its pieces. `removed` (when given) is emptied
    // and receives the cut-out parts. False for an empty cut (nothing touched)
    // or when nothing overlapped it (the list unchanged).
    bool Subtract(const RectF& cut, RectList* removed = nullptr);
    bool SubtractNode(const SceneNode& node, RectList* removed = nullptr)
    {
        return Subtract(RectF::FromNode(node), removed);
    }

    // The union's bounds; the inverted rectangle (itself empty) when the list
    // holds nothing.
    RectF GetBounds() const;
    // True when the list holds no rectangle or only empty ones.
    bool AllEmpty() const;

private:
    MKTArray<RectF> m_rects;
};
