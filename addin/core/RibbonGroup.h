#pragma once
#include "addin/core/RibbonElement.h"

// A built-in group of a tab, there only to carry plug-in fragments: it emits
// nothing without them.
class RibbonGroup final : public RibbonElement {
public:
    RibbonGroup(RibbonModel* owner, const MKString& idMso) : RibbonElement(owner, idMso, kBuiltIn) {}

    bool AppendXml(MKTextBuffer& out) const override;
};
