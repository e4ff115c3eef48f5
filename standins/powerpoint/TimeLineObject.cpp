#include "standins/powerpoint/TimeLineObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/SequencesObject.h"

namespace standin {

TimeLineObject::TimeLineObject(const DocumentStatePtr& document)
    : DispatchObject(L"TimeLine", {PowerPoint::IID_TimeLine}),
      m_main(new SequenceObject(document)),
      m_interactive(new SequencesObject(document))
{
}

TimeLineObject::~TimeLineObject()
{
    Clear();
    m_interactive->Release();
    m_main->Release();
}

void TimeLineObject::Clear()
{
    m_main->Clear();
    m_interactive->Clear();
}

HRESULT TimeLineObject::get_MainSequence(PowerPoint::Sequence** result)
{
    STANDIN_ENTER_OUT(L"get_MainSequence", result);
    return ReturnObject(m_main, result);
}

HRESULT TimeLineObject::get_InteractiveSequences(PowerPoint::Sequences** result)
{
    STANDIN_ENTER_OUT(L"get_InteractiveSequences", result);
    return ReturnObject(m_interactive, result);
}

}  // namespace standin
