#include "addin/core/RibbonGroup.h"

#include "base/MKTextBuffer.h"

bool RibbonGroup::AppendXml(MKTextBuffer& out) const
{
    if (!HasFragments())
        return true;
    return AppendTagWithId(out, L"<group idMso=\"", L"\">") && AppendFragments(out) && out.AppendText(L"</group>");
}
