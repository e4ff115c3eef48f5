#include "addin/effects/ShowContentList.h"

#include "addin/effects/SlideShowSession.h"

ShowContentList::~ShowContentList()
{
    if (!m_entries.IsEmpty())
        Clear();
}

int ShowContentList::IndexOf(const SlideLayer* layer) const
{
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        if (m_entries[i].layer == layer)
            return i;
    }
    return -1;
}

PowerPoint::Shape* ShowContentList::Find(const SlideLayer* layer) const
{
    int index = IndexOf(layer);
    return index >= 0 ? m_entries[index].shape : nullptr;
}

bool ShowContentList::Add(SlideLayer* layer, PowerPoint::Shape* shape)
{
    if (!layer || !shape)
        return false;
    Remove(layer);
    if (!m_entries.Add(Entry{layer, shape}))
        return false;
    shape->AddRef();
    EffectHostLock lock(m_session);
    shape->put_Visible(PowerPoint::msoTrue);
    return true;
}

bool ShowContentList::Remove(SlideLayer* layer)
{
    int index = IndexOf(layer);
    if (index < 0)
        return true;
    PowerPoint::Shape* shape = m_entries[index].shape;
    m_entries.RemoveAt(index);
    {
        EffectHostLock lock(m_session);
        shape->put_Visible(PowerPoint::msoFalse);
    }
    shape->Release();
    return true;
}

void ShowContentList::Clear()
{
    EffectHostLock lock(m_session);
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        m_entries[i].shape->put_Visible(PowerPoint::msoFalse);
        m_entries[i].shape->Release();
    }
    m_entries.RemoveAll();
}
