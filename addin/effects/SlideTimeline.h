#pragma once
#include <windows.h>

#include <stdint.h>

#include "addin/core/PptObjectRef.h"
#include "addin/effects/BuildStepTracker.h"
#include "addin/effects/PreparationJournal.h"
#include "base/MKTArray.h"

class PptAnimationRef;
class PptShapeRef;
class StepEffect;
class StepList;
class TimelineLayer;
struct PptEffectTiming;

// A slide's animation sequences as build steps with the start and end times
// of every product animation; follows PowerPoint's click position (or the
// verbs of trigger sequences) on its own clock and hands the starts and ends
// due to the effects' contents. Also the slide's preparation of PowerPoint's
// animations for the show, every change of which it records and undoes when
// cleared, so that the presentation keeps the user's animations.
//
// Owned by its slide layer, which outlives it; the layer clears it before its
// effects go. The clock reads the injected tick source (the process-wide
// default, GetTickCount unless a test sets another). PowerPoint's
// user-interface thread only.
class SlideTimeline {
public:
    using TickSource = DWORD(WINAPI*)();

    explicit SlideTimeline(TimelineLayer* layer, TickSource ticks = nullptr);
    ~SlideTimeline();
    SlideTimeline(const SlideTimeline&) = delete;
    SlideTimeline& operator=(const SlideTimeline&) = delete;

    // Test hook: the tick source of timelines made without one from now on;
    // null restores GetTickCount.
    static void SetDefaultTickSource(TickSource ticks);

    // Reads the slide's sequences into step lists; false when PowerPoint
    // cannot be read or a sequence uses a trigger type it cannot follow.
    bool Build(const PptObjectRef& timeLine, const PptObjectRef& slide);
    // Back to the state after the build: paused at 0, nothing fired.
    void Reset();
    // Like Reset, then the lists go and the slide's animations get back
    // what the preparation changed.
    void Clear();

    void Resume();
    void Pause();
    bool IsPaused() const { return m_paused; }
    int32_t GetElapsed() const;

    // Fires what is due while running.
    void Tick();
    // PowerPoint's click position of a list changed to `click`.
    void OnStepChanged(StepList* list, int32_t click);
    // The main list back one click.
    void StepBack();
    // The list and click of the step with that start or end verb.
    bool FindVerb(int32_t verb, StepList** list, int32_t* click, bool* isEnd) const;
    // From PowerPoint 12 on: the main list covers all the clicks PowerPoint
    // counts on the slide.
    bool EnsureMainSteps(int32_t clicks);
    // Each item asks its content how it ends.
    void ApplyStepModes();
    // Verb commands on the command object at the start and the end of the
    // trigger steps; on failure every effect added is deleted and the layer
    // leaves the session's content list.
    bool AddTriggerVerbs(const PptShapeRef& commandObject);

    // Slide preparation (before the build): animations that a content does
    // not accept go, and animations that would start by themselves after a
    // holding content wait for a click.
    bool NormalizeSequences(const PptObjectRef& timeLine);
    // After the build: product animations in the main sequence show or hide
    // their shapes by content kind, and kind-1 contents get a trigger copy.
    bool ApplyEffectTriggers();
    // At unload: product animations of contents other than kind 1 show their
    // shapes again.
    bool RestoreMainSequence(const PptObjectRef& timeLine);
    // The effect leaves the step items (its content is going).
    void RemoveEffect(StepEffect* effect);
    // Whether a step item refers to the effect.
    bool IsAnimated(const StepEffect* effect) const;
    // Lets go of the PowerPoint objects that only the build needed.
    void ReleaseStepReferences();

    int GetListCount() const { return m_lists.GetCount(); }
    StepList* GetList(int index) const { return m_lists.SafeGetAt(index); }
    const BuildStepTracker& GetTracker() const { return m_tracker; }
    TimelineLayer* GetLayer() const { return m_layer; }
    PreparationJournal& GetJournal() { return m_journal; }

private:
    StepList* AppendList(int32_t sequenceIndex);
    void ClearLists();
    void DeleteLists();
    bool BuildList(StepList& list, const PptAnimationRef& sequence, const PptObjectRef& slide);
    bool AddMarkers(StepList& list, const PptAnimationRef& sequence, const PptObjectRef& slide);
    bool BuildStep(Step& step, const PptAnimationRef& sequence, int32_t first, int32_t count, int32_t* next);
    bool ReadItemTiming(const StepList& list, const PptAnimationRef& animation, int32_t position,
                        PptEffectTiming& timing);
    void DeleteMarker(StepList& list);
    void UpdateElapsed();
    void FireAndRun(int32_t now);
    void RunQueued(bool reset, int32_t now);
    bool NormalizeSequence(const PptAnimationRef& sequence);
    bool AddVerbsToList(StepList& list, const PptShapeRef& commandObject, MKTArray<IUnknown*>& added);

    TimelineLayer* m_layer;
    TickSource m_ticks;
    MKTArray<StepList*> m_lists;
    BuildStepTracker m_tracker;
    PreparationJournal m_journal;
    bool m_paused = true;
    DWORD m_startTick = 0;
    int32_t m_elapsed = 0;
    int32_t m_elapsedAtResume = 0;
    PptObjectRef m_timeLine;
};
