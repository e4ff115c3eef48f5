#include "standins/powerpoint/SequencesObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/ItemList.h"
#include "standins/powerpoint/SequenceObject.h"

namespace standin {

SequencesObject::SequencesObject(const DocumentStatePtr& document)
    : DispatchObject(L"Sequences", {PowerPoint::IID_Sequences, PowerPoint::IID_Collection}), m_document(document)
{
}

SequencesObject::~SequencesObject()
{
    Clear();
}

SequenceObject* SequencesObject::AddSequence(int index)
{
    auto* sequence = new SequenceObject(m_document, true);
    if (index < 1 || index > static_cast<int>(m_items.size()))
        m_items.push_back(sequence);
    else
        m_items.insert(m_items.begin() + (index - 1), sequence);
    return sequence;
}

void SequencesObject::Clear()
{
    ClearItems(m_items, [](SequenceObject* item) { item->Clear(); });
}

HRESULT SequencesObject::get_Count(long* result)
{
    return GetValue(L"get_Count", static_cast<long>(m_items.size()), result);
}

HRESULT SequencesObject::Item(int index, PowerPoint::Sequence** result)
{
    STANDIN_ENTER_OUT(L"Item", result);
    *result = nullptr;
    return ReturnItem(ItemAt(m_items, index), result);
}

HRESULT SequencesObject::Add(int index, PowerPoint::Sequence** result)
{
    STANDIN_ENTER_OUT(L"Add", result);
    SequenceObject* sequence = AddSequence(index);
    m_document->Touch();
    return ReturnObject(sequence, result);
}

}  // namespace standin
