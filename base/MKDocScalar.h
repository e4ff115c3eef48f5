#pragma once
#include "base/MKDateTime.h"
#include "base/MKDocNode.h"
#include "base/MKGuid.h"
#include "base/MKString.h"
#include "base/MKVersion.h"

// The payload of null nodes.
struct MKDocNoValue {};

// A document node holding one plain value: string, double, bool, null,
// integers and the typed literals.
template <int Kind, typename T>
class MKDocScalar : public MKDocNode {
public:
    MKDocScalar() : MKDocNode(Kind), m_value() {}
    explicit MKDocScalar(const T& value) : MKDocNode(Kind), m_value(value) {}

    const T& GetValue() const { return m_value; }
    void SetValue(const T& value) { m_value = value; }

    bool WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const override;

private:
    T m_value;
};

typedef MKDocScalar<MKDocKindString, MKString> MKDocString;
typedef MKDocScalar<MKDocKindDouble, double> MKDocDouble;
typedef MKDocScalar<MKDocKindBool, bool> MKDocBool;
typedef MKDocScalar<MKDocKindNull, MKDocNoValue> MKDocNull;
typedef MKDocScalar<MKDocKindInt32, int32_t> MKDocInt32;
typedef MKDocScalar<MKDocKindInt64, int64_t> MKDocInt64;
typedef MKDocScalar<MKDocKindGuid, MKGuid> MKDocGuid;
typedef MKDocScalar<MKDocKindVersion, MKVersion> MKDocVersion;
// Written and read as its date only.
typedef MKDocScalar<MKDocKindDateTime, MKDateTime> MKDocDateTime;

template <>
bool MKDocString::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const;
template <>
bool MKDocDouble::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const;
template <>
bool MKDocBool::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const;
template <>
bool MKDocNull::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const;
template <>
bool MKDocInt32::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const;
template <>
bool MKDocInt64::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const;
template <>
bool MKDocGuid::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const;
template <>
bool MKDocVersion::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const;
template <>
bool MKDocDateTime::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const;

// The node when it is of that kind, else null (also for a null node pointer).
inline MKDocString* MKDocAsString(MKDocNode* node)
{
    return node && node->GetKind() == MKDocKindString ? static_cast<MKDocString*>(node) : nullptr;
}
inline MKDocInt32* MKDocAsInt32(MKDocNode* node)
{
    return node && node->GetKind() == MKDocKindInt32 ? static_cast<MKDocInt32*>(node) : nullptr;
}
