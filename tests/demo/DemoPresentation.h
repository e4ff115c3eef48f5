#pragma once

namespace standin {
class ApplicationObject;
}

// The demo's presentation, made in the stand-in PowerPoint and active: a
// title slide and a slide with a coloured box.
void AddDemoPresentation(standin::ApplicationObject& application);
