#pragma once
#include "base/MKValueList.h"

// Code 57: nodes that all have one element code, written without their codes.
class MKValueArray : public MKValueList {
public:
    explicit MKValueArray(int elementCode) : MKValueList(MKValueCodeArray), m_elementCode(elementCode) {}

    int GetElementCode() const { return m_elementCode; }
    // Appends the node with a reference of its own; false for a node of another
    // code (bool nodes count as code 1), a null node or when memory runs out.
    bool Add(MKValue* node) override;

private:
    int m_elementCode;
};
