#include "addin/core/ShapeEffectData.h"

#include "addin/core/ShapeEffectMarker.h"
#include "addin/effects/EffectDataCodec.h"
#include "base/MKBstrHolder.h"
#include "base/MKCoTaskMemBuffer.h"
#include "base/MKComHolder.h"
#include "base/MKString.h"

namespace {

constexpr float kCommandDuration = 0.001f;

HRESULT SetCommand(PowerPoint::AnimationBehavior* behavior, BSTR text, bool fresh)
{
    PowerPoint::CommandEffect* command = nullptr;
    HRESULT hr = behavior->get_CommandEffect(&command);
    if (FAILED(hr) || !command)
        return FAILED(hr) ? hr : E_POINTER;
    MKComHolder<PowerPoint::CommandEffect> held;
    held.Attach(command);
    if (fresh) {
        if (FAILED(hr = held->put_Type(PowerPoint::msoAnimCommandTypeVerb)))
            return hr;
        PowerPoint::Timing* timing = nullptr;
        if (FAILED(hr = behavior->get_Timing(&timing)) || !timing)
            return FAILED(hr) ? hr : E_POINTER;
        MKComHolder<PowerPoint::Timing> heldTiming;
        heldTiming.Attach(timing);
        if (FAILED(hr = heldTiming->put_Duration(kCommandDuration)))
            return hr;
    }
    return held->put_Command(text);
}

bool Item(PowerPoint::AnimationBehaviors* behaviors, int index, MKComHolder<PowerPoint::AnimationBehavior>& out)
{
    PowerPoint::AnimationBehavior* item = nullptr;
    if (FAILED(behaviors->Item(index, &item)) || !item)
        return false;
    out.Attach(item);
    return true;
}

// Two new verb commands at the end: the data, then the marker before it.
bool AppendPair(PowerPoint::AnimationBehaviors* behaviors, BSTR marker, BSTR data)
{
    MKComHolder<PowerPoint::AnimationBehavior> first;
    MKComHolder<PowerPoint::AnimationBehavior> second;
    PowerPoint::AnimationBehavior* added = nullptr;
    if (SUCCEEDED(behaviors->Add(PowerPoint::msoAnimTypeCommand, -1, &added)) && added) {
        first.Attach(added);
        added = nullptr;
        if (SUCCEEDED(behaviors->Add(PowerPoint::msoAnimTypeCommand, -1, &added)) && added) {
            second.Attach(added);
            if (SUCCEEDED(SetCommand(second.Get(), data, true)) && SUCCEEDED(SetCommand(first.Get(), marker, true)))
                return true;
        }
    }
    if (second.Get())
        second->Delete();
    if (first.Get())
        first->Delete();
    return false;
}

}  // namespace

bool WriteShapeEffect(PowerPoint::Effect* effect, const wchar_t* id, const uint8_t* bytes, int length)
{
    long effectType = -1;
    if (!effect || FAILED(effect->get_EffectType(&effectType)) || effectType != PowerPoint::msoAnimEffectCustom)
        return false;
    PowerPoint::AnimationBehaviors* list = nullptr;
    if (FAILED(effect->get_Behaviors(&list)) || !list)
        return false;
    MKComHolder<PowerPoint::AnimationBehaviors> behaviors;
    behaviors.Attach(list);
    long count = 0;
    if (FAILED(behaviors->get_Count(&count)) || count == 2)
        return false;

    MKBstrHolder data;
    if (FAILED(EffectDataCodec::Encode(bytes, length, true, data.Receive())))
        return false;
    MKString markerText(kShapeEffectMarker);
    if (id)
        markerText.AppendText(id);
    MKBstrHolder marker;
    *marker.Receive() = markerText.ToBstr();
    if (!marker.Get())
        return false;

    // Rewrites only behaviours that already carry our marker.
    if (count < 3 || !ReadShapeEffectId(effect, nullptr, nullptr))
        return AppendPair(behaviors.Get(), marker.Get(), data.Get());
    MKComHolder<PowerPoint::AnimationBehavior> markerBehavior;
    MKComHolder<PowerPoint::AnimationBehavior> dataBehavior;
    if (!Item(behaviors.Get(), int(count - 1), markerBehavior) || !Item(behaviors.Get(), int(count), dataBehavior))
        return false;
    if (FAILED(SetCommand(dataBehavior.Get(), data.Get(), false)))
        return false;
    return !id || SUCCEEDED(SetCommand(markerBehavior.Get(), marker.Get(), false));
}

bool ReadShapeEffectData(PowerPoint::Effect* effect, MKCoTaskMemBuffer& data, int* length)
{
    if (length)
        *length = 0;
    data.Free();
    MKString text;
    if (!ReadShapeEffectId(effect, nullptr, &text))
        return false;
    if (text.IsEmpty())
        return true;
    return SUCCEEDED(EffectDataCodec::Decode(text.GetText(), text.GetLength(), true, data, length, nullptr, nullptr));
}
