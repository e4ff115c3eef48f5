#include "addin/hosting/MemoryMoniker.h"

HRESULT STDMETHODCALLTYPE MemoryMoniker::GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name)
{
    return CopyDisplayName(m_name, name);
}
