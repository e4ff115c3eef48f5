#include "RecordingDrawer.h"

#include "player/engine/PVButtonClip.h"
#include "player/engine/PVChar.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVDisplayList.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/PVTransform.h"

bool RecordingDrawer::Render(HDC__*, int mouseX, int mouseY, bool)
{
    drawn_.clear();
    SetButtonUnderMouse(nullptr);
    mouseX_ = mouseX;
    mouseY_ = mouseY;
    PVMovieClip* main = player_->MainClip();
    return main && DrawDisplayList(main->DisplayList(), PVMatrix(), nullptr);
}

bool RecordingDrawer::DrawDisplayList(PVDisplayList& list, const PVMatrix& matrix, const PVCxform* cxform)
{
    for (int depth = 0; depth < list.Count(); ++depth) {
        const PVDListObject* entry = list.At(depth);
        if (!entry || !entry->character)
            continue;
        const PVMatrix m = PVConcatMatrix(matrix, entry->matrix);
        const int type = entry->character->Type();
        if (testing_) {
            const PVBounds box = entry->character->DisplayBounds().Transformed(m);
            if (!box.empty && mouseX_ >= box.xmin && mouseX_ <= box.xmax && mouseY_ >= box.ymin &&
                mouseY_ <= box.ymax)
                SetButtonUnderMouse(testing_);
            if (type == PVChar::kSprite && entry->clip)
                DrawDisplayList(entry->clip->DisplayList(), m, cxform);
            continue;
        }
        std::string line = prefix_ + std::to_string(depth) + ":#" + std::to_string(entry->character->Id());
        if (m.translateX != 0 || m.translateY != 0)
            line += "@" + std::to_string(static_cast<int>(m.translateX)) + "," +
                    std::to_string(static_cast<int>(m.translateY));
        drawn_.push_back(line);
        if ((type != PVChar::kSprite && type != PVChar::kButton) || !entry->clip)
            continue;
        const std::string saved = prefix_;
        prefix_ = line + "/";
        DrawDisplayList(entry->clip->DisplayList(), m, cxform);
        prefix_ = saved;
        if (type == PVChar::kButton && mouseX_ >= 0) {
            auto* button = static_cast<PVButtonClip*>(entry->clip);
            testing_ = button;
            DrawDisplayList(button->HitArea()->DisplayList(), m, cxform);
            testing_ = nullptr;
        }
    }
    return true;
}

std::string RecordingDrawer::DrawnText() const
{
    std::string text;
    for (const std::string& line : drawn_)
        text += (text.empty() ? "" : " ") + line;
    return text;
}
