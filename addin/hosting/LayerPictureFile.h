#pragma once
#include "base/MKString.h"

class NodeLayer;

// Writes a node layer's pixels to a picture file: PNG (the value is the
// compression level) or JPEG (the value is the quality). A layer whose alpha
// means nothing is written opaque. False when the layer has no pixels or
// the file could not be written.
bool SaveLayerPicture(const NodeLayer& layer, const MKString& path, bool jpeg, int value);
