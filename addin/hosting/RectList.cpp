#include "addin/hosting/RectList.h"

RectList::RectList(const RectList& other)
{
    m_rects.Assign(other.m_rects.GetData(), other.m_rects.GetCount());
}

RectList& RectList::operator=(const RectList& other)
{
    if (this != &other)
        m_rects.Assign(other.m_rects.GetData(), other.m_rects.GetCount());
    return *this;
}

void RectList::Append(const RectF& rect)
{
    if (!rect.IsEmpty())
        m_rects.Add(rect);
}

void RectList::AddRect(float left, float top, float right, float bottom)
{
    RectF rect(left, top, right, bottom);
    Subtract(rect);
    Append(rect);
}

bool RectList::Subtract(const RectF& cut, RectList* removed)
{
    if (cut.IsEmpty())
        return false;
    if (removed)
        removed->Clear();
    // The rectangles are taken out and come back (whole or as pieces) in order.
    int count = m_rects.GetCount();
    RectF* taken = m_rects.Detach();
    bool overlapped = false;
    RectF intersection;
    RectList pieces;
    for (int i = 0; i < count; ++i) {
        taken[i].Split(cut, intersection, pieces);
        if (intersection.IsEmpty()) {
            Append(taken[i]);
            continue;
        }
        overlapped = true;
        if (removed)
            removed->Append(intersection);
        m_rects.AppendRange(pieces.m_rects.GetData(), pieces.GetCount());
    }
    MKFree(taken);
    return overlapped;
}

RectF RectList::GetBounds() const
{
    RectF bounds = RectF::Inverted();
    for (int i = 0; i < m_rects.GetCount(); ++i)
        bounds.Unite(m_rects[i]);
    return bounds;
}

bool RectList::AllEmpty() const
{
    for (int i = 0; i < m_rects.GetCount(); ++i) {
        if (!m_rects[i].IsEmpty())
            return false;
    }
    return true;
}
