#include "addin/effects/SessionReport.h"

namespace {

// COM identity: both queried for IUnknown.
bool SameObject(IUnknown* a, IUnknown* b)
{
    if (!a || !b)
        return false;
    IUnknown* first = nullptr;
    IUnknown* second = nullptr;
    bool same = SUCCEEDED(a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&first))) &&
                SUCCEEDED(b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&second))) && first == second;
    if (first)
        first->Release();
    if (second)
        second->Release();
    return same;
}

}  // namespace

bool SessionReport::HasKey(IUnknown* presentation) const
{
    return SameObject(m_key.Get(), presentation);
}

bool SessionReport::SameKey(const SessionReport& other) const
{
    return SameObject(m_key.Get(), other.m_key.Get());
}

void SessionReport::AddWarning(const MKString& text)
{
    MKString line = text;
    line.TrimLeft();
    line.TrimRight();
    if (line.IsEmpty())
        return;
    m_warnings.AppendString(line);
    m_warnings.AppendText(L"\n");
}

void SessionReport::SetExitRequester(EffectDataRecord* type)
{
    m_exitRequester.AssignPointer(type);
}
