#include "addin/hosting/RectF.h"

#include "addin/hosting/RectList.h"
#include "addin/hosting/SceneNode.h"

#include <float.h>

RectF RectF::Inverted()
{
    return RectF(FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX);
}

RectF RectF::FromNode(const SceneNode& node)
{
    return RectF(node.GetHostX(), node.GetHostY(), node.GetHostX() + node.GetWidth(),
                 node.GetHostY() + node.GetHeight());
}

void RectF::Unite(const RectF& other)
{
    if (other.IsEmpty())
        return;
    if (other.left < left)
        left = other.left;
    if (other.top < top)
        top = other.top;
    if (other.right > right)
        right = other.right;
    if (other.bottom > bottom)
        bottom = other.bottom;
}

bool RectF::Intersects(const RectF& a, const RectF& b)
{
    return !a.IsEmpty() && !b.IsEmpty() && a.left < b.right && a.top < b.bottom && b.left < a.right &&
           b.top < a.bottom;
}

void RectF::Split(const RectF& cut, RectF& intersection, RectList& pieces) const
{
    intersection = Inverted();
    pieces.Clear();
    if (IsEmpty())
        return;
    if (cut.IsEmpty() || right <= cut.left || bottom <= cut.top || left >= cut.right || top >= cut.bottom) {
        pieces.Append(*this);
        return;
    }
    RectF in = *this;
    if (left < cut.left) {
        pieces.Append(left, top, cut.left, bottom);
        in.left = cut.left;
    }
    if (in.right > cut.right) {
        pieces.Append(cut.right, in.top, in.right, in.bottom);
        in.right = cut.right;
    }
    if (cut.top > in.top) {
        pieces.Append(in.left, in.top, in.right, cut.top);
        in.top = cut.top;
    }
    if (in.bottom > cut.bottom) {
        pieces.Append(in.left, cut.bottom, in.right, in.bottom);
        in.bottom = cut.bottom;
    }
    intersection = in;
}
