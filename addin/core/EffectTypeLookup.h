#pragma once
#include <windows.h>
#include <oleauto.h>

class EffectDataRecord;

// The registry of effect types by the content type that shapes carry in
// their tags; the plug-in manager keeps it. Records stay the registry's.
class EffectTypeLookup {
public:
    // Null for an unknown, null or empty content type.
    virtual EffectDataRecord* FindEffectTypeByContentType(BSTR contentType) = 0;

protected:
    ~EffectTypeLookup() = default;
};
