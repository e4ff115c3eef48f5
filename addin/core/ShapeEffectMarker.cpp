#include "addin/core/ShapeEffectMarker.h"

#include <wchar.h>

#include "base/MKBstrHolder.h"
#include "base/MKComHolder.h"
#include "base/MKString.h"

namespace {

// The command text of the behaviour when it is a command behaviour.
bool ReadCommandText(PowerPoint::AnimationBehaviors* behaviors, int index, MKBstrHolder& text)
{
    PowerPoint::AnimationBehavior* item = nullptr;
    if (FAILED(behaviors->Item(index, &item)) || !item)
        return false;
    MKComHolder<PowerPoint::AnimationBehavior> behavior;
    behavior.Attach(item);
    long type = 0;
    if (FAILED(behavior->get_Type(&type)) || type != PowerPoint::msoAnimTypeCommand)
        return false;
    PowerPoint::CommandEffect* command = nullptr;
    if (FAILED(behavior->get_CommandEffect(&command)) || !command)
        return false;
    MKComHolder<PowerPoint::CommandEffect> held;
    held.Attach(command);
    return SUCCEEDED(held->get_Command(text.Receive()));
}

}  // namespace

bool ReadShapeEffectId(PowerPoint::Effect* effect, MKString* id, MKString* data)
{
    if (id)
        id->Clear();
    if (data)
        data->Clear();
    long effectType = -1;
    if (!effect || FAILED(effect->get_EffectType(&effectType)) || effectType != PowerPoint::msoAnimEffectCustom)
        return false;
    PowerPoint::AnimationBehaviors* list = nullptr;
    if (FAILED(effect->get_Behaviors(&list)) || !list)
        return false;
    MKComHolder<PowerPoint::AnimationBehaviors> behaviors;
    behaviors.Attach(list);
    long count = 0;
    if (FAILED(behaviors->get_Count(&count)) || count <= 1)
        return false;

    MKBstrHolder marker;
    const int markerLength = int(wcslen(kShapeEffectMarker));
    if (!ReadCommandText(behaviors.Get(), int(count - 1), marker) || int(SysStringLen(marker.Get())) < markerLength ||
        wcsncmp(marker.Get(), kShapeEffectMarker, size_t(markerLength)) != 0)
        return false;
    if (id)
        *id = marker.ToString().Mid(markerLength);
    if (data) {
        MKBstrHolder text;
        if (ReadCommandText(behaviors.Get(), int(count), text))
            *data = text.ToString();
    }
    return true;
}
