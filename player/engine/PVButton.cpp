#include "player/engine/PVButton.h"

#include <new>

#include "player/engine/PVAction.h"
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVMovie.h"

PVButton::ActionCondition::~ActionCondition()
{
    PVReleaseActionList(actions);
}

PVButton::~PVButton()
{
    for (int i = 0; i < conditions_.Count(); ++i)
        delete conditions_[i];
    if (stateMovie_)
        stateMovie_->Release();
}

int PVButton::StateForTransition(int code)
{
    switch (code) {
    case kIdleToOver:
    case kDownToOver:
        return kOverFrame;
    case kOverToIdle:
    case kReleasedOutside:
    case kDownToIdleMenu:
        return kUpFrame;
    case kOverToDown:
    case kDownLeaves:
    case kDownEnters:
    case kIdleToDownMenu:
        return kDownFrame;
    default:
        return -1;
    }
}

bool PVButton::BuildStates(const PVTArray<PVButtonRecord>& records)
{
    auto* movie = new (std::nothrow) PVMovie(4);
    if (!movie)
        return false;
    if (stateMovie_)
        stateMovie_->Release();
    stateMovie_ = movie;
    for (int frame = 0; frame < 4; ++frame) {
        const int state = 1 << frame;
        const int previous = frame > 0 ? 1 << (frame - 1) : 0;
        for (int i = 0; i < records.Count(); ++i) {
            const PVButtonRecord& r = records[i];
            if (!(r.states & previous) || (r.states & state))
                continue;
            auto* remove = new (std::nothrow) PVControlRecord(PVControlRecord::kRemoveByDepth);
            if (!remove)
                return false;
            remove->depth = r.depth;
            if (!movie->AddRecord(frame, remove))
                return false;
        }
        for (int i = 0; i < records.Count(); ++i) {
            const PVButtonRecord& r = records[i];
            if (!(r.states & state) || (r.states & previous))
                continue;
            auto* place = new (std::nothrow) PVControlRecord(PVControlRecord::kPlace);
            if (!place)
                return false;
            place->flags = PVControlRecord::kPlaceCharacter | PVControlRecord::kPlaceMatrix |
                           PVControlRecord::kPlaceCxform;
            place->characterId = r.characterId;
            place->depth = r.depth;
            place->matrix = r.matrix;
            place->cxform = r.cxform;
            if (!movie->AddRecord(frame, place))
                return false;
        }
    }
    return true;
}

void PVButton::SetCxform(const PVCxform& cxform)
{
    if (!stateMovie_)
        return;
    for (int frame = 0; frame < stateMovie_->FrameCount(); ++frame) {
        PVMovieFrame* f = stateMovie_->Frame(frame);
        for (PVControlRecord* r = f ? f->first : nullptr; r; r = r->next) {
            if (r->kind == PVControlRecord::kPlace)
                r->cxform = cxform;
        }
    }
}

bool PVButton::AddCondition(uint16_t flags, PVAction* actions)
{
    auto* condition = new (std::nothrow) ActionCondition(flags, actions);
    if (!condition) {
        PVReleaseActionList(actions);
        return false;
    }
    if (!conditions_.Add(condition)) {
        delete condition;
        return false;
    }
    return true;
}
