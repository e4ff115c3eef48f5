#include "PlayerHarness.h"

#include "MemoryInStream.h"
#include "StandInChar.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVMovieParser.h"

PlayerHarness::PlayerHarness(bool loops)
{
    player.Init();
    player.SetMainMovieLoops(loops);
}

void PlayerHarness::AddShape(uint16_t id, float xmin, float xmax, float ymin, float ymax)
{
    player.Dictionary()->Add(new StandInChar(PVChar::kShape, id, PVBounds::Of(xmin, xmax, ymin, ymax)));
}

bool PlayerHarness::Load(const SwfTimeline& tags, uint16_t frameCount, uint16_t rate)
{
    SwfHeader header;
    header.frameCount = frameCount;
    header.rate = rate;
    const std::vector<uint8_t> file = SwfMakeFile(header, tags.Bytes());
    MemoryInStream stream(file);
    PVMovieParser parser;
    return parser.Load(stream, player);
}

bool PlayerHarness::Step(int x, int y, bool down)
{
    return player.Step(&drawer, x, y, down, true);
}

std::string PlayerHarness::Trace() const
{
    return player.MainClip() ? DumpClip(*player.MainClip()) : "(no clip)";
}

PVMovieClip* PlayerHarness::Child(int depth) const
{
    const PVDListObject* entry = Main().DisplayList().At(depth);
    return entry ? entry->clip : nullptr;
}

std::string DumpList(const PVDisplayList& list)
{
    std::string text;
    for (int depth = 0; depth < list.Count(); ++depth) {
        const PVDListObject* e = list.At(depth);
        if (!e)
            continue;
        if (!text.empty())
            text += " ";
        text += std::to_string(depth) + ":" + (e->character ? "#" + std::to_string(e->character->Id()) : "-");
        if (e->matrix.translateX != 0 || e->matrix.translateY != 0)
            text += "@" + std::to_string(static_cast<int>(e->matrix.translateX)) + "," +
                    std::to_string(static_cast<int>(e->matrix.translateY));
        if (e->ratio)
            text += " r=" + std::to_string(e->ratio);
        if (!e->name.IsEmpty())
            text += " '" + std::string(e->name.Data()) + "'";
        if (e->clipDepth)
            text += " clip=" + std::to_string(e->clipDepth);
        if (e->clip)
            text += " {" + DumpClip(*e->clip) + "}";
    }
    return text;
}

std::string DumpClip(const PVMovieClip& clip)
{
    std::string text = "f=" + std::to_string(clip.CurrentFrame());
    if (!clip.IsPlaying())
        text += " stop";
    const std::string list = DumpList(clip.DisplayList());
    return list.empty() ? text : text + " " + list;
}
