#pragma once
#include "hostapi/PowerPointInterfaces.h"

class MKString;

// The marker text that begins the command of a product effect's marker
// behaviour; the effect's id follows it.
inline constexpr wchar_t kShapeEffectMarker[] = L"VistelloEffect:";

// True when the effect is a custom effect whose last-but-one animation
// behaviour is a command whose text begins with the marker (exact case). The
// id after the marker goes to `id`; with `data`, the command text of the last
// behaviour (the effect data) when that one is a command too, else empty.
// Outputs may be null; they are emptied first. Never raises.
bool ReadShapeEffectId(PowerPoint::Effect* effect, MKString* id, MKString* data);
