// Trees of named strings in both their forms: the binary form, and the XML
// form as web messages carry it (enveloped again with a valid digest, so
// mutations reach the XML reader), plus whole envelopes as they arrive.
// Whatever one form reads must be written and read back by both: a tree that
// one form takes and the other refuses is reported as a fault.
#include <stdexcept>

#include "FuzzTarget.h"
#include "addin/core/MessageCodec.h"
#include "addin/core/ValueTree.h"
#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"

namespace {

// Releases the tree it holds.
struct HeldTree {
    explicit HeldTree(ValueTree* held) : tree(held) {}
    ~HeldTree()
    {
        if (tree)
            tree->Release();
    }
    HeldTree(const HeldTree&) = delete;
    HeldTree& operator=(const HeldTree&) = delete;
    ValueTree* tree;
};

ValueTree* FromBinary(const uint8_t* bytes, int n)
{
    MKMemInStream in(bytes, n);
    MKBinaryReader reader(&in);
    return ValueTree::ReadBinary(reader);
}

// Whether every name and value holds only characters XML can carry.
bool XmlCanCarry(const MKString& text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t c = text[i];
        if ((c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') || c == 0xFFFE || c == 0xFFFF ||
            (c >= 0xD800 && c <= 0xDFFF))
            return false;
    }
    return true;
}

bool XmlCanCarry(const ValueTree* tree)
{
    if (tree->IsLeaf())
        return XmlCanCarry(tree->GetValue());
    for (int i = 0; i < tree->GetChildCount(); ++i) {
        if (!XmlCanCarry(tree->GetChildName(i)) || !XmlCanCarry(tree->GetChildAt(i)))
            return false;
    }
    return true;
}

// Writes the tree in both forms and reads each back; throws when a form
// refuses what the other read (text XML cannot carry, and leaf roots, which no
// message carries, aside).
void CheckBothForms(const ValueTree* tree)
{
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    if (!tree->WriteBinary(writer))
        return;
    HeldTree binary(FromBinary(out.GetData(), out.GetCount()));
    if (!binary.tree)
        throw std::runtime_error("a tree read in the binary form is refused when written back");
    // Messages carry arrays only: a leaf root has no XML message form.
    if (tree->IsLeaf())
        return;
    MKByteArray message;
    if (!tree->EncodeXml(MessageCodec::kResponseKey, message))
        return;
    HeldTree xml(ValueTree::DecodeMessage(message.GetData(), message.GetCount(), MessageCodec::kResponseKey));
    if (!xml.tree && XmlCanCarry(tree))
        throw std::runtime_error("a tree read in one form is refused in the other");
}

void AddSeeds(const std::wstring& fixtures, std::vector<FuzzInput>& seeds)
{
    const std::wstring folder = fixtures + L"\\webmsg";
    AddSeedFilesMatching(folder, L"*.bin", ".bin", seeds);
    AddSeedFilesMatching(folder, L"*.xml", ".xml", seeds);
    std::vector<FuzzInput> messages;
    AddSeedFilesMatching(folder, L"*.msg", ".msg", messages);
    // The envelope of 17 MB of spaces stays out: every mutation of it inflates
    // up to the codec's 16 MiB bound (seconds under the emulator), and that
    // bound has tests of its own.
    for (FuzzInput& message : messages) {
        if (message.bytes.size() < 8192)
            seeds.push_back(std::move(message));
    }
}

void Run(const FuzzInput& input)
{
    const int n = int(input.bytes.size());
    HeldTree tree(nullptr);
    if (input.kind == ".bin") {
        tree.tree = FromBinary(input.bytes.data(), n);
    } else if (input.kind == ".xml") {
        MKByteArray message;
        if (MessageCodec::Encode(input.bytes.data(), n, MessageCodec::kResponseKey, message))
            tree.tree = ValueTree::DecodeMessage(message.GetData(), message.GetCount(), MessageCodec::kResponseKey);
    } else {
        tree.tree = ValueTree::DecodeMessage(input.bytes.data(), n, MessageCodec::kResponseKey);
    }
    if (!tree.tree)
        return;
    CheckBothForms(tree.tree);
    tree.tree->ToQueryText(MessageCodec::kQueryTextKey);
}

}  // namespace

const FuzzTarget& ValueTreeTarget()
{
    static const FuzzTarget target = {"value-tree", AddSeeds, Run, nullptr};
    return target;
}
