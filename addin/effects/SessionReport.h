#pragma once
#include "addin/effects/EffectDataRecord.h"
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"
#include "base/MKRefHolder.h"
#include "base/MKRefClass.h"
#include "base/MKString.h"

class SlideShowSession;

// What went wrong while one show's slides were prepared: a fatal error and
// warning lines, shown to the user when the show has ended. Keyed by a counted
// reference to the show's presentation, so the key of an ended show can never
// match a new presentation that happens to reuse its address. Reference
// counted; PowerPoint's user-interface thread only.
class SessionReport : public MKRefClass {
public:
    enum FatalKind { kNoFatal = 0, kFatalError = 2 };

    explicit SessionReport(SlideShowSession* session) : m_session(session) {}

    SlideShowSession* GetSession() const { return m_session; }
    void SetKey(PowerPoint::Presentation* presentation) { m_key.Assign(presentation); }
    // Same COM object as the key; false without a key.
    bool HasKey(IUnknown* presentation) const;
    bool SameKey(const SessionReport& other) const;

    void SetFatal(const MKString& message)
    {
        m_fatalKind = kFatalError;
        m_fatalMessage = message;
    }
    int GetFatalKind() const { return m_fatalKind; }
    const MKString& GetFatalMessage() const { return m_fatalMessage; }

    // Trimmed at both ends; nothing for text that is then empty. Each line
    // ends with a line feed.
    void AddWarning(const MKString& text);
    void ClearWarnings() { m_warnings = MKString(); }
    const MKString& GetWarnings() const { return m_warnings; }

    // The effect type whose content asked to end the show; counted, so the
    // report outlives an unloaded plug-in's records safely.
    void SetExitRequester(EffectDataRecord* type);
    EffectDataRecord* GetExitRequester() const { return m_exitRequester.Get(); }

    // A box to show, or a plug-in to tell.
    bool HasAnythingToShow() const
    {
        return m_fatalKind != kNoFatal || !m_warnings.IsEmpty() || m_exitRequester;
    }

private:
    SlideShowSession* m_session;
    MKComHolder<PowerPoint::Presentation> m_key;
    int m_fatalKind = kNoFatal;
    MKString m_fatalMessage;
    MKString m_warnings;
    MKRefHolder<EffectDataRecord> m_exitRequester;
};
