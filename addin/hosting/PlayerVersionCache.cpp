#include "addin/hosting/PlayerVersionCache.h"

#include "addin/hosting/PlayerVersionProbes.h"
#include "base/MKTextBuffer.h"

namespace {

void WriteLine(MKTextBuffer& report, const wchar_t* name, const MKVersion& version)
{
    if (version == PlayerVersionCache::NotInstalled())
        report.AppendFormat(L"%s: not found\n", name);
    else
        report.AppendFormat(L"%s %s\n", name, version.ToString().GetText());
}

}  // namespace

const MKVersion& PlayerVersionCache::Get(bool& probed, MKVersion& version, Probe probe)
{
    if (m_useCount > 0 && probed)
        return version;
    probe(version);  // leaves 0.0.-1.-1 when the control is missing
    probed = true;
    return version;
}

const MKVersion& PlayerVersionCache::GetFlashVersion()
{
    return Get(m_flashProbed, m_flashVersion, ProbeFlashPlayerVersion);
}

const MKVersion& PlayerVersionCache::GetQuickTimeControlVersion()
{
    return Get(m_quickTimeProbed, m_quickTimeVersion, ProbeQuickTimeControlVersion);
}

void PlayerVersionCache::Reset()
{
    m_flashProbed = false;
    m_flashVersion = NotInstalled();
    m_quickTimeProbed = false;
    m_quickTimeVersion = NotInstalled();
}

void PlayerVersionCache::ReleaseUse()
{
    if (m_useCount <= 0)
        return;
    if (--m_useCount == 0)
        Reset();
}

void PlayerVersionCache::WriteReport(MKTextBuffer& report)
{
    WriteLine(report, L"Flash Player ActiveX", GetFlashVersion());
    WriteLine(report, L"QuickTime Control", GetQuickTimeControlVersion());
}
