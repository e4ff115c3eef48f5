#pragma once
#include "base/MKString.h"
#include "base/MKTOArray.h"

// The messages of one parse of a typed text document, each formed as
// "source(line) : message" ("source : message" for lines below 1), the source
// being "input" when it has no name.
class MKDocErrorList {
public:
    MKDocErrorList() = default;
    MKDocErrorList(const MKDocErrorList&) = delete;
    MKDocErrorList& operator=(const MKDocErrorList&) = delete;

    void SetSourceName(const MKString& name) { m_sourceName = name; }
    void Add(int line, const MKString& message);
    void Clear() { m_messages.RemoveAll(); }

    bool IsEmpty() const { return m_messages.IsEmpty(); }
    const MKTOArray<MKString>& GetMessages() const { return m_messages; }

private:
    MKString m_sourceName;
    MKTOArray<MKString> m_messages;
};
