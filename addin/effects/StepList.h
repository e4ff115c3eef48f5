#pragma once
#include <stdint.h>

#include "addin/core/PptAnimationRef.h"
#include "base/MKString.h"
#include "base/MKTArray.h"

class SlideTimeline;
class StepEffect;
class StepList;
class Step;

// One product animation inside a build step: where it sits in its sequence,
// the effect whose content it drives, and its start and end in milliseconds
// from the step's fire time.
struct StepItem {
    enum Mode { kEndsByItself = 1, kEndsAtNextClick = 2, kOpenEnded = 3 };
    enum State { kIdle = 1, kStarted = 2, kEnded = 3 };

    StepList* list = nullptr;
    Step* step = nullptr;
    int32_t position = 0;  // 1-based index in the sequence
    StepEffect* effect = nullptr;
    MKString effectId;
    int32_t mode = kEndsByItself;
    bool plainTextBox = false;
    int32_t state = kIdle;
    PptAnimationRef animation;
    int32_t start = 0;
    int32_t end = 0;
    int32_t repeatCount = 0;
    bool openEnded = false;
};

// The animations between two clicks of a sequence (or, inserted, a click that
// animates nothing of ours). Owns its items.
class Step {
public:
    Step(StepList* list, int32_t position) : position(position), inserted(position < 0), m_list(list) {}
    ~Step();
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

    StepList* GetList() const { return m_list; }
    int GetItemCount() const { return m_items.GetCount(); }
    StepItem* GetItem(int index) const { return m_items[index]; }
    // Takes the item; false (item deleted) when memory runs out.
    bool AddItem(StepItem* item);
    // Drops the items of the effect (which is going away).
    void RemoveItemsOf(StepEffect* effect);
    // Numbered by the click renumbering: holds an item that is not a plain
    // text box.
    bool HasClickableItem() const;

    int32_t position;
    bool inserted;
    int32_t fireTime = -1;
    PptAnimationRef firstEffect;
    int32_t startVerb = -1;
    int32_t endVerb = -1;
    int32_t clickIndex = -1;

private:
    StepList* m_list;
    MKTArray<StepItem*> m_items;
};

// One animation sequence of the slide as steps: list 0 is the main sequence,
// list i the i-th interactive sequence. Owns its steps.
class StepList {
public:
    static constexpr int32_t kNotSynchronised = -10;
    static constexpr int32_t kBeforeFirstClick = -1;

    StepList(SlideTimeline* timeline, int32_t sequenceIndex) : m_timeline(timeline), m_sequenceIndex(sequenceIndex) {}
    ~StepList();
    StepList(const StepList&) = delete;
    StepList& operator=(const StepList&) = delete;

    SlideTimeline* GetTimeline() const { return m_timeline; }
    int32_t GetSequenceIndex() const { return m_sequenceIndex; }
    bool IsMain() const { return m_sequenceIndex == 0; }
    int GetStepCount() const { return m_steps.GetCount(); }
    Step* GetStep(int index) const { return m_steps[index]; }
    // Takes the step; false (step deleted) when memory runs out.
    bool AddStep(Step* step);

    // The step numbered with the click, or null.
    Step* FindStepByClick(int32_t click) const;
    // The highest click number of the list; 0 when no step is numbered.
    int32_t GetHighestClick() const;
    // Numbers the steps that take a click of their own: the first step 0, the
    // others 1, 2, ...; the list is then before its first click.
    void RenumberClicks();
    // Inserts empty steps after the first one until the list has `clicks`
    // numbered clicks (PowerPoint counts more clicks than the list knows of).
    bool EnsureSteps(int32_t clicks);
    // Every step unfired, every item idle, the list not yet synchronised.
    void ResetSteps();
    // Lets go of the PowerPoint objects the steps hold.
    void ReleaseReferences();

    int32_t triggerValue = -1;
    int32_t currentStep = kNotSynchronised;
    PptAnimationRef sequence;
    PptAnimationRef marker;

private:
    SlideTimeline* m_timeline;
    int32_t m_sequenceIndex;
    MKTArray<Step*> m_steps;
};
