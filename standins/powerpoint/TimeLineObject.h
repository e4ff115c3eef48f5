#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

namespace standin {

class SequenceObject;
class SequencesObject;

// Slide.TimeLine: the main sequence and the interactive sequences.
class TimeLineObject : public DispatchObject<PowerPoint::TimeLine> {
public:
    explicit TimeLineObject(const DocumentStatePtr& document);

    SequenceObject* Main() const { return m_main; }
    SequencesObject* Interactive() const { return m_interactive; }
    // Drops every effect (the slide is gone).
    void Clear();

    HRESULT STDMETHODCALLTYPE get_MainSequence(PowerPoint::Sequence** result) override;
    HRESULT STDMETHODCALLTYPE get_InteractiveSequences(PowerPoint::Sequences** result) override;

protected:
    ~TimeLineObject() override;

private:
    SequenceObject* m_main;
    SequencesObject* m_interactive;
};

}  // namespace standin
