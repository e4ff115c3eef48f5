#pragma once
#include <stdint.h>

class PptObjectRef;
class PptShapeRef;
class SessionReport;
class SlideLayer;
class SlideShowSession;

// The checks of a slide before its content runs that end in the show's
// report, and the touch that makes PowerPoint re-time a slide. PowerPoint's
// user-interface thread only.

// A slide with an embedded presentation ends the show: the first such slide
// of a running show asks the session to stop and gives the report its fatal
// message. The preparation then fails: always false.
bool StopForEmbeddedPresentation(SlideShowSession& session, int32_t slideNumber);
// Trigger sequences of the slide animate product shapes, which they cannot.
void WarnOfTriggerEffects(SessionReport* report, int32_t slideNumber);
// PowerPoint before 12 follows the main sequence's animations of the slide's
// command object through verbs on that object: the layer is then listed with
// it in the session's content list, and without one the preparation fails
// (false). Otherwise the layer is not listed, and trigger sequences that
// animate the command object are warned of.
bool ApplyCommandObjectRule(SlideLayer& layer, const PptObjectRef& timeLine, const PptShapeRef& commandObject);
// Writes the first animation's delay up and back, so that PowerPoint takes
// up shapes that changed; true also for a slide without animations.
bool TouchAnimationTimings(const PptObjectRef& timeLine);
