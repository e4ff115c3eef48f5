// The button tags: DefineButton, DefineButton2 and DefineButtonCxform.
#include <new>

#include "player/engine/PVAction.h"
#include "player/engine/PVButton.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVMovieParser.h"

namespace {

// The size and flags words that open a DefineButton2 condition record.
constexpr uint32_t kConditionHeader = 4;

// Reads the records up to the end mark and builds the button's states;
// false when the tag ends before the mark or memory runs out.
bool ReadStates(PVMovieParser& parser, PVButton& button, bool withCxform)
{
    PVTArray<PVButtonRecord> records;
    PVButtonRecord record;
    while (parser.ReadButtonRecord(record, withCxform)) {
        if (parser.Overrun() || !records.Add(record))
            return false;
    }
    return !parser.Overrun() && button.BuildStates(records);
}

}  // namespace

bool PVMovieParser::ReadButtonRecord(PVButtonRecord& record, bool withCxform)
{
    const uint8_t flags = ReadU8();
    if (flags == 0)
        return false;
    record.states = flags & 0x0F;
    record.characterId = ReadU16();
    record.depth = ReadU16();
    record.matrix = ReadMatrix();
    record.cxform = withCxform ? ReadCxform(true) : PVCxform();
    // The later format's filter list and blend mode are passed over.
    if (withCxform && (flags & kButtonHasFilters))
        SkipFilterList();
    if (withCxform && (flags & kButtonHasBlendMode))
        ReadU8();
    return true;
}

void PVMovieParser::SkipFilterList()
{
    const int count = ReadU8();
    for (int i = 0; i < count && !overrun_; ++i) {
        uint32_t bytes = 0;
        switch (ReadU8()) {
        case 0:  // drop shadow
            bytes = 23;
            break;
        case 1:  // blur
            bytes = 9;
            break;
        case 2:  // glow
            bytes = 15;
            break;
        case 3:  // bevel
            bytes = 27;
            break;
        case 4:  // gradient glow
        case 7:  // gradient bevel
            bytes = 5 * uint32_t(ReadU8()) + 19;
            break;
        case 5: {  // convolution
            const uint32_t columns = ReadU8();
            const uint32_t rows = ReadU8();
            bytes = 4 * columns * rows + 13;
            break;
        }
        case 6:  // colour matrix
            bytes = 80;
            break;
        default:  // of unknown length: nothing after it can be read
            overrun_ = true;
            return;
        }
        if (bytes > end_ - pos_) {
            overrun_ = true;
            return;
        }
        pos_ += bytes;
    }
}

bool PVMovieParser::ReadDefineButton(PVMovie&, int)
{
    const uint16_t id = ReadU16();
    auto* button = new (std::nothrow) PVButton(id);
    if (!button)
        return false;
    // The actions take what is left of the tag after the records, not the
    // tag's whole length.
    if (!ReadStates(*this, *button, false) ||
        !button->AddCondition(PVButton::kDownToOver, ReadActionList(static_cast<int>(end_ - pos_))) ||
        !dictionary_->Add(button)) {
        button->Release();
        return false;
    }
    return true;
}

bool PVMovieParser::ReadDefineButton2(PVMovie&, int)
{
    const uint16_t id = ReadU16();
    const uint8_t flags = ReadU8();
    const uint16_t actionOffset = ReadU16();
    auto* button = new (std::nothrow) PVButton(id);
    if (!button)
        return false;
    button->SetTracksAsMenu(flags & 1);
    bool ok = !overrun_ && ReadStates(*this, *button, true);
    // Each condition's actions end at the next record (its size counts from
    // the record's start) or, for the last (size 0), at the tag's end.
    while (ok && actionOffset != 0 && end_ - pos_ >= kConditionHeader) {
        const uint32_t start = pos_;
        const uint16_t size = ReadU16();
        const uint16_t conditions = ReadU16();
        if (size != 0 && (size < kConditionHeader || size > end_ - start))
            break;
        const uint32_t limit = size != 0 ? size - kConditionHeader : end_ - pos_;
        ok = button->AddCondition(conditions, ReadActionList(static_cast<int>(limit)));
        if (size == 0)
            break;
        pos_ = start + size;
    }
    if (!ok || !dictionary_->Add(button)) {
        button->Release();
        return false;
    }
    return true;
}

bool PVMovieParser::ReadDefineButtonCxform(PVMovie&, int)
{
    PVChar* character = dictionary_->Get(ReadU16());
    if (overrun_ || !character || character->Type() != PVChar::kButton)
        return false;
    const PVCxform cxform = ReadCxform(false);
    if (overrun_)
        return false;
    static_cast<PVButton*>(character)->SetCxform(cxform);
    return true;
}
