#pragma once
#include <stdint.h>

class PptShapeRef;
class StepEffect;

// What a slide's timeline needs of the slide layer that owns it: the
// session's PowerPoint version, the layer's effects, the update bracket of its
// node host and the command object the layer is listed with. The layer owns
// the timeline and outlives it. PowerPoint's user-interface thread only.
class TimelineLayer {
public:
    virtual int GetOfficeCode() const = 0;
    // The session runs PowerPoint before 12, where trigger sequences are
    // followed through verbs.
    virtual bool IsOldOffice() const = 0;

    virtual int GetStepEffectCount() const = 0;
    virtual StepEffect* GetStepEffect(int index) const = 0;
    // The effect drawn for the shape (by Shape.Id), or null.
    virtual StepEffect* FindStepEffect(const PptShapeRef& shape) const = 0;

    // Counted bracket around a batch of content calls.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;

    // The command object the layer is listed with in the session's content
    // list; false when it is not listed.
    virtual bool GetListedCommandObject(PptShapeRef& out) const = 0;
    virtual void LeaveContentList() = 0;

protected:
    ~TimelineLayer() = default;
};
