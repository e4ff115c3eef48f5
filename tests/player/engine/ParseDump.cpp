#include "ParseDump.h"

#include "fixtures/SwfManifest.h"
#include "player/engine/PVAction.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVSprite.h"

namespace {

std::string Text(const PVString& s)
{
    return std::string(s.Data(), s.Length());
}

std::string DumpAction(const PVAction& a)
{
    const std::string name = SwfActionName(a.Code());
    switch (a.Code()) {
    case PVAction::kGotoFrame:
        return name + "(" + std::to_string(static_cast<const PVAction_GotoFrame&>(a).frame) + ")";
    case PVAction::kGetURL: {
        const auto& u = static_cast<const PVAction_GetURL&>(a);
        return name + "(" + SwfQuote(Text(u.url)) + "," + SwfQuote(Text(u.target)) + ")";
    }
    case PVAction::kConstantPool: {
        const auto& pool = static_cast<const PVAction_ConstantPool&>(a);
        std::string text = name + "(";
        for (int i = 0; i < pool.strings.Count(); ++i)
            text += (i ? "," : "") + SwfQuote(Text(*pool.strings[i]));
        return text + ")";
    }
    case PVAction::kWaitForFrame: {
        const auto& w = static_cast<const PVAction_WaitForFrame&>(a);
        return name + "(" + std::to_string(w.frame) + "," + std::to_string(w.skipCount) + ")";
    }
    case PVAction::kSetTarget:
        return name + "(" + SwfQuote(Text(static_cast<const PVAction_SetTarget&>(a).path)) + ")";
    case PVAction::kGotoLabel:
        return name + "(" + SwfQuote(Text(static_cast<const PVAction_GotoLabel&>(a).label)) + ")";
    case PVAction::kPush: {
        const auto& p = static_cast<const PVAction_Push&>(a);
        if (p.valueType == 0)
            return name + "(0," + SwfQuote(Text(p.value)) + ")";
        return name + "(" + std::to_string(p.valueType) + ")";
    }
    case PVAction::kJump:
        return name + "(" + std::to_string(static_cast<const PVAction_Jump&>(a).offset) + ")";
    case PVAction::kIf:
        return name + "(" + std::to_string(static_cast<const PVAction_If&>(a).offset) + ")";
    case PVAction::kGotoFrame2:
        return name + "(" + std::to_string(static_cast<const PVAction_GotoFrame2&>(a).play) + ")";
    }
    return name;
}

std::string SoundFormat(int format, int rate, bool sixteenBit, bool stereo)
{
    return std::to_string(format) + "," + std::to_string(rate) + "," + std::to_string(sixteenBit) + "," +
           std::to_string(stereo);
}

std::string SoundBytes(const PVAudio& a)
{
    return " bytes=" + std::to_string(a.TotalBytes()) + " start=" + std::to_string(a.StartOffset());
}

std::string DumpRecord(const PVMovie& movie, const PVControlRecord& r)
{
    switch (r.kind) {
    case PVControlRecord::kPlace: {
        SwfPlaceText p;
        p.flags = r.flags;
        p.id = r.characterId;
        p.depth = r.depth;
        const float m[6] = {r.matrix.scaleX,      r.matrix.scaleY,     r.matrix.rotateSkew0,
                            r.matrix.rotateSkew1, r.matrix.translateX, r.matrix.translateY};
        const int c[8] = {r.cxform.addRed,  r.cxform.addGreen,  r.cxform.addBlue,  r.cxform.addAlpha,
                          r.cxform.multRed, r.cxform.multGreen, r.cxform.multBlue, r.cxform.multAlpha};
        for (int i = 0; i < 6; ++i)
            p.matrix[i] = m[i];
        for (int i = 0; i < 8; ++i)
            p.cxform[i] = c[i];
        p.ratio = r.ratio;
        p.name = Text(r.name);
        p.clipDepth = r.clipDepth;
        return SwfPlaceLine(p);
    }
    case PVControlRecord::kRemove:
        return "remove id=" + std::to_string(r.characterId) + " depth=" + std::to_string(r.depth);
    case PVControlRecord::kRemoveByDepth:
        return "removedepth depth=" + std::to_string(r.depth);
    case PVControlRecord::kActions: {
        const std::string actions = DumpActions(r.actions);
        return actions.empty() ? "actions" : "actions " + actions;
    }
    case PVControlRecord::kStreamStart:
        for (int i = 0; i < movie.Sounds().Count(); ++i) {
            if (movie.Sounds()[i] == r.stream)
                return "streamstart stream=" + std::to_string(i);
        }
        return "streamstart stream=other";
    }
    return "record kind=" + std::to_string(r.kind);
}

}  // namespace

std::string DumpActions(const PVAction* first)
{
    std::string text;
    for (const PVAction* a = first; a; a = a->Next())
        text += (text.empty() ? "" : " ") + DumpAction(*a);
    return text;
}

std::string DumpMovie(const PVMovie& movie, int indent)
{
    const std::string pad(indent, ' ');
    std::string text = pad + "movie frames=" + std::to_string(movie.FrameCount()) + "\n";
    for (int i = 0; i < movie.Sounds().Count(); ++i) {
        const PVAudio& a = *movie.Sounds()[i];
        text += pad + " stream " + std::to_string(i) + " playback=" + std::to_string(a.PlaybackRateCode()) + "," +
                std::to_string(a.PlaybackSixteenBit()) + "," + std::to_string(a.PlaybackStereo()) + " format=" +
                SoundFormat(a.SoundFormat(), a.StreamRateCode(), a.StreamSixteenBit(), a.IsStereo()) +
                SoundBytes(a) + "\n";
    }
    for (int i = 0; i < movie.FrameCount(); ++i) {
        const PVMovieFrame* frame = movie.Frame(i);
        if (!frame)
            continue;
        text += pad + " frame " + std::to_string(i) + " label=" + SwfQuote(Text(frame->label)) + "\n";
        for (const PVControlRecord* r = frame->first; r; r = r->next)
            text += pad + "  " + DumpRecord(movie, *r) + "\n";
    }
    return text;
}

std::string DumpParse(const PVCharDictionary& dictionary, const PVMovie& movie)
{
    const PVRGBA& bg = dictionary.BackgroundColor();
    std::string text = "background " + std::to_string(bg.red) + "," + std::to_string(bg.green) + "," +
                       std::to_string(bg.blue) + "," + std::to_string(bg.alpha) + "\n";
    for (int id = 0; id < dictionary.SlotCount(); ++id) {
        const PVChar* c = dictionary.Get(id);
        if (!c)
            continue;
        const std::string head = "char " + std::to_string(id) + " ";
        const std::string name = " name=" + SwfQuote(Text(c->Name())) + "\n";
        if (c->Type() == PVChar::kSprite) {
            text += head + "sprite" + name + DumpMovie(*static_cast<const PVSprite*>(c)->Movie(), 1);
        } else if (c->Type() == PVChar::kAudio) {
            const auto& a = *static_cast<const PVAudio*>(c);
            text += head + "sound format=" +
                    SoundFormat(a.SoundFormat(), a.StreamRateCode(), a.StreamSixteenBit(), a.IsStereo()) +
                    SoundBytes(a) + name;
        } else {
            text += head + "type" + std::to_string(c->Type()) + name;
        }
    }
    return text + DumpMovie(movie, 0);
}
