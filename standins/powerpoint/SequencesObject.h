#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

#include <vector>

namespace standin {

class SequenceObject;

// TimeLine.InteractiveSequences: the slide's trigger sequences in order.
class SequencesObject : public DispatchObject<PowerPoint::Sequences> {
public:
    explicit SequencesObject(const DocumentStatePtr& document);

    // A new empty sequence at the 1-based position (-1: at the end).
    SequenceObject* AddSequence(int index = -1);
    void Clear();
    const std::vector<SequenceObject*>& Items() const { return m_items; }

    HRESULT STDMETHODCALLTYPE get_Count(long* result) override;
    HRESULT STDMETHODCALLTYPE Item(int index, PowerPoint::Sequence** result) override;
    HRESULT STDMETHODCALLTYPE Add(int index, PowerPoint::Sequence** result) override;

protected:
    ~SequencesObject() override;

private:
    DocumentStatePtr m_document;
    std::vector<SequenceObject*> m_items;
};

}  // namespace standin
