#include "player/engine/PVShape.h"

#include <cstdint>
#include <new>

#include "player/engine/PVGradTex.h"
#include "player/engine/PVGradTexList.h"

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

// Appends a new, empty style array, which `arrays` then owns; null when
// memory runs out.
template <typename Array>
Array* AddArray(PVTArray<Array*>& arrays)
{
    auto* array = new (std::nothrow) Array;
    if (array && !arrays.Add(array)) {
        delete array;
        return nullptr;
    }
    return array;
}

void Copy(PVLineStyle& to, const PVLineStyle& from)
{
    to = from;
}

// A gradient texture follows its fill: the copy holds a reference of its own.
void Copy(PVFillStyle& to, const PVFillStyle& from)
{
    PVGradTex* held = to.texture;
    to = from;
    to.texture = nullptr;
    PVHold(to.texture, from.texture);
    if (held)
        held->Release();
}

// Copies entries into the arrays `to` shares with `from`, as far as both
// arrays reach.
template <typename Array>
void CopyEntries(const PVTArray<Array*>& to, const PVTArray<Array*>& from)
{
    for (int a = 0; a < to.Count() && a < from.Count(); ++a) {
        auto& target = to[a]->entries;
        const auto& source = from[a]->entries;
        for (int i = 0; i < target.Count() && i < source.Count(); ++i)
            Copy(target[i], source[i]);
    }
}

// The entry of `mine`'s first array at the index `entry` has in `theirs`'
// first array; null when either side has no array or `entry` is not there.
template <typename Array, typename T>
T* Rebase(const PVTArray<Array*>& mine, const PVTArray<Array*>& theirs, const T* entry)
{
    if (theirs.Count() == 0 || mine.Count() == 0)
        return nullptr;
    const int index = IndexIn(theirs[0]->entries, entry);
    PVTArray<T>& entries = mine[0]->entries;
    return index >= 0 && index < entries.Count() ? &entries[index] : nullptr;
}

void ReleaseTextures(PVFillStyleArray& array)
{
    for (int i = 0; i < array.entries.Count(); ++i) {
        if (PVGradTex* texture = array.entries[i].texture) {
            array.entries[i].texture = nullptr;
            texture->Release();
        }
    }
}

}  // namespace

PVShape::~PVShape()
{
    for (int i = 0; i < fills_.Count(); ++i) {
        ReleaseTextures(*fills_[i]);
        delete fills_[i];
    }
    for (int i = 0; i < lines_.Count(); ++i)
        delete lines_[i];
}

PVFillStyleArray* PVShape::AddFillArray()
{
    return AddArray(fills_);
}

PVLineStyleArray* PVShape::AddLineArray()
{
    return AddArray(lines_);
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
    return Rebase(fills_, source.fills_, entry);
}

PVLineStyle* PVShape::RebaseLine(const PVShape& source, const PVLineStyle* entry) const
{
    return Rebase(lines_, source.lines_, entry);
}

bool PVShape::PrepareGradients(PVGradTexList& cache)
{
    for (int a = 0; a < fills_.Count(); ++a) {
        PVTArray<PVFillStyle>& entries = fills_[a]->entries;
        for (int i = 0; i < entries.Count(); ++i) {
            PVFillStyle& fill = entries[i];
            if (fill.kind != PVFillStyle::kLinearGradient && fill.kind != PVFillStyle::kRadialGradient)
                continue;
            PVGradTex* texture = cache.Lookup(fill.gradient, fill.kind == PVFillStyle::kLinearGradient);
            if (!texture)
                return false;
            if (fill.texture)
                fill.texture->Release();
            fill.texture = texture;
        }
    }
    return true;
}

void PVShape::CopyFillStylesFrom(const PVShape& source)
{
    CopyEntries(fills_, source.fills_);
}

void PVShape::CopyLineStylesFrom(const PVShape& source)
{
    CopyEntries(lines_, source.lines_);
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
