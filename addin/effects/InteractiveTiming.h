#pragma once
#include <stdint.h>

class PptAnimationRef;
struct PptEffectTiming;

// The timing of an animation of a trigger sequence at its 1-based position.
// The first animation starts on the trigger shape's click. Before PowerPoint
// 12 (Office code below 1200) PowerPoint tells a later animation's trigger
// type only inside the main sequence: the animation is moved after the main
// sequence's marker to be read, then after its own sequence's marker and
// back to its position. Trigger types -1 and 0 come without timing. False
// when a read or a move fails.
bool ReadInteractiveTiming(const PptAnimationRef& animation, int32_t position, int officeCode,
                           const PptAnimationRef& mainMarker, const PptAnimationRef& listMarker,
                           PptEffectTiming& out);
