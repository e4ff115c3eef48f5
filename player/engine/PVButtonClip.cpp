#include "player/engine/PVButtonClip.h"

#include <new>

#include "player/engine/PVButton.h"

PVButtonClip::PVButtonClip(PVPlayer* player, PVButton* button) : PVMovieClip(player), button_(button)
{
    isButton_ = true;
    playing_ = false;
    if (button_)
        button_->AddRef();
}

PVButtonClip::~PVButtonClip()
{
    if (hitArea_)
        hitArea_->Release();
    if (button_)
        button_->Release();
}

bool PVButtonClip::Init(const PVString& name, PVMovieClip* parent, PVMovie* stateMovie)
{
    if (!PVMovieClip::Init(name, parent, stateMovie, false))
        return false;
    auto* hitArea = new (std::nothrow) PVMovieClip(Player());
    if (!hitArea)
        return false;
    hitArea->AddRef();
    if (!hitArea->Init(PVString(), nullptr, stateMovie, false, this)) {
        hitArea->Release();
        return false;
    }
    hitArea_ = hitArea;
    for (int frame = 0; frame <= PVButton::kHitTestFrame; ++frame) {
        if (frame > 0)
            hitArea->Advance();
        hitArea->ExecuteFrame();
    }
    return true;
}

bool PVButtonClip::TracksAsMenu() const
{
    return button_ && button_->TracksAsMenu();
}

bool PVButtonClip::OnTransition(int code, PVActionVM& vm)
{
    const int state = PVButton::StateForTransition(code);
    if (state < 0)
        return false;
    if (button_ && Parent()) {
        bool queued = false;
        const auto& conditions = button_->Conditions();
        for (int i = 0; i < conditions.Count(); ++i) {
            if (conditions[i]->flags & code)
                Parent()->QueueActions(vm, conditions[i]->actions, queued);
        }
    }
    if (CurrentFrame() != state)
        ShowState(state);
    return true;
}

void PVButtonClip::ShowState(int state)
{
    Rewind();
    ExecuteFrame();
    for (int frame = 1; frame <= state; ++frame) {
        Advance();
        ExecuteFrame();
    }
}
