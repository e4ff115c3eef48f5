#include "player/engine/PVShape.h"

#include <cstdint>
#include <new>

namespace {

// The index of `entry` within `array`, or -1 when it is not one of its
// entries.
template <typename T>
int IndexIn(const PVTArray<T>& array, const T* entry)
{
    const auto at = reinterpret_cast<uintptr_t>(entry);
    const auto begin = reinterpret_cast<uintptr_t>(array.Data());
    if (!entry || at < begin || at >= begin + sizeof(T) * array.Count())
        return -1;
    return static_cast<int>((at - begin) / sizeof(T));
}

}  // namespace

PVShape::~PVShape()
{
    for (int i = 0; i < fills_.Count(); ++i)
        delete fills_[i];
    for (int i = 0; i < lines_.Count(); ++i)
        delete lines_[i];
}

PVFillStyleArray* PVShape::AddFillArray()
{
    auto* array = new (std::nothrow) PVFillStyleArray;
    if (array && !fills_.Add(array)) {
        delete array;
        return nullptr;
    }
    return array;
}

PVLineStyleArray* PVShape::AddLineArray()
{
    auto* array = new (std::nothrow) PVLineStyleArray;
    if (array && !lines_.Add(array)) {
        delete array;
        return nullptr;
    }
    return array;
}

void PVShape::LinkEdges()
{
    const int n = edges_.Count();
    PVShapeEdge* edges = edges_.Data();
    for (int i = 0; i < n; ++i) {
        edges[i].previous = i > 0 ? &edges[i - 1] : nullptr;
        edges[i].next = i + 1 < n ? &edges[i + 1] : nullptr;
    }
    first_ = n > 0 ? edges : nullptr;
    count_ = n;
}

PVFillStyle* PVShape::RebaseFill(const PVShape& source, const PVFillStyle* entry) const
{
    if (source.fills_.Count() == 0 || fills_.Count() == 0)
        return nullptr;
    const int index = IndexIn(source.fills_[0]->entries, entry);
    PVTArray<PVFillStyle>& mine = fills_[0]->entries;
    return index >= 0 && index < mine.Count() ? &mine[index] : nullptr;
}

PVLineStyle* PVShape::RebaseLine(const PVShape& source, const PVLineStyle* entry) const
{
    if (source.lines_.Count() == 0 || lines_.Count() == 0)
        return nullptr;
    const int index = IndexIn(source.lines_[0]->entries, entry);
    PVTArray<PVLineStyle>& mine = lines_[0]->entries;
    return index >= 0 && index < mine.Count() ? &mine[index] : nullptr;
}

void PVShape::CopyFillStylesFrom(const PVShape& source)
{
    for (int a = 0; a < fills_.Count() && a < source.fills_.Count(); ++a) {
        PVTArray<PVFillStyle>& to = fills_[a]->entries;
        const PVTArray<PVFillStyle>& from = source.fills_[a]->entries;
        for (int i = 0; i < to.Count() && i < from.Count(); ++i)
            to[i] = from[i];
    }
}

void PVShape::CopyLineStylesFrom(const PVShape& source)
{
    for (int a = 0; a < lines_.Count() && a < source.lines_.Count(); ++a) {
        PVTArray<PVLineStyle>& to = lines_[a]->entries;
        const PVTArray<PVLineStyle>& from = source.lines_[a]->entries;
        for (int i = 0; i < to.Count() && i < from.Count(); ++i)
            to[i] = from[i];
    }
}

bool PVShape::CopyEdgesFrom(const PVShape& source)
{
    const int n = source.edges_.Count();
    if (!edges_.SetCount(n))
        return false;
    bounds_ = source.bounds_;
    for (int i = 0; i < n; ++i) {
        const PVShapeEdge& from = source.edges_[i];
        PVShapeEdge& to = edges_[i];
        to = from;
        to.fill0 = RebaseFill(source, from.fill0);
        to.fill1 = RebaseFill(source, from.fill1);
        to.line = RebaseLine(source, from.line);
    }
    LinkEdges();
    return true;
}
