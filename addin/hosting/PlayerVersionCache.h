#pragma once
#include "base/MKVersion.h"

class MKTextBuffer;

// The installed versions of the Flash Player and QuickTime controls, kept
// while slide shows run. Without holders every query probes the registry and
// the file again; while the use count is above 0 the first probe of each
// control stays in use, so a player installed or removed during a show is
// seen by the next one. One cache exists per process, made by the hosting
// module start and deleted by its end (HostingModule.h). Used on PowerPoint's
// user-interface thread.
class PlayerVersionCache {
public:
    // 0.0.-1.-1: the control is not installed.
    static MKVersion NotInstalled() { return MKVersion(); }

    PlayerVersionCache() = default;
    PlayerVersionCache(const PlayerVersionCache&) = delete;
    PlayerVersionCache& operator=(const PlayerVersionCache&) = delete;

    const MKVersion& GetFlashVersion();
    const MKVersion& GetQuickTimeControlVersion();
    // Both versions forgotten: the next queries probe again.
    void Reset();

    // A holder (a slide-show session) comes and goes; the last one leaving
    // resets the cache. A release without holder changes nothing.
    void AddUse() { ++m_useCount; }
    void ReleaseUse();
    int GetUseCount() const { return m_useCount; }

    // "Flash Player ActiveX <version>\n" or "Flash Player ActiveX: not found\n",
    // then the same for "QuickTime Control", probing as the queries do.
    void WriteReport(MKTextBuffer& report);

private:
    using Probe = bool (*)(MKVersion& out);
    const MKVersion& Get(bool& probed, MKVersion& version, Probe probe);

    int m_useCount = 0;
    bool m_flashProbed = false;
    MKVersion m_flashVersion;
    bool m_quickTimeProbed = false;
    MKVersion m_quickTimeVersion;
};
