#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"
#include "base/MKTArray.h"

class SlideLayer;
class SlideShowSession;

// The slide layers whose command-object shape is shown while they are
// listed: adding shows the shape, removing and clearing hide it again, each
// under the session's host lock so that the presentation's saved mark does
// not change. Owned by its session, which outlives it. PowerPoint's
// user-interface thread only.
class ShowContentList {
public:
    explicit ShowContentList(SlideShowSession* session) : m_session(session) {}
    ~ShowContentList();
    ShowContentList(const ShowContentList&) = delete;
    ShowContentList& operator=(const ShowContentList&) = delete;

    // False for no layer or no shape; an entry of the layer is replaced.
    bool Add(SlideLayer* layer, PowerPoint::Shape* shape);
    // True also when the layer is not listed (nothing changes then).
    bool Remove(SlideLayer* layer);
    void Clear();
    // The layer's shape, or null when it is not listed.
    PowerPoint::Shape* Find(const SlideLayer* layer) const;
    int GetCount() const { return m_entries.GetCount(); }

private:
    struct Entry {
        SlideLayer* layer;
        PowerPoint::Shape* shape;  // one reference
    };
    int IndexOf(const SlideLayer* layer) const;

    SlideShowSession* m_session;
    MKTArray<Entry> m_entries;
};
