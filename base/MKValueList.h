#pragma once
#include "base/MKTArray.h"
#include "base/MKValue.h"

// Code 56: nodes in order, each held with one reference.
class MKValueList : public MKValue {
public:
    MKValueList() : MKValue(MKValueCodeList) {}
    ~MKValueList() override;

    // Makes room for n nodes.
    bool Reserve(int n) { return m_items.Reserve(n); }
    // Appends the node with a reference of its own; false for a null node or
    // when memory runs out.
    virtual bool Add(MKValue* node);
    int GetCount() const { return m_items.GetCount(); }
    // The node without a reference taken; null out of range.
    MKValue* GetAt(int index) const { return m_items.SafeGetAt(index); }

protected:
    explicit MKValueList(int code) : MKValue(code) {}

private:
    MKTArray<MKValue*> m_items;
};
