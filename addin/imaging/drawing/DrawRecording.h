#pragma once
#include <functional>
#include <vector>

class DrawCanvas;
class DrawMatrix;

// One recorded canvas call, replayed onto a canvas whose matrix was `base`
// when the replay began (recorded absolute matrices are taken relative to it).
using DrawOp = std::function<void(DrawCanvas& canvas, const DrawMatrix& base)>;
using DrawRecording = std::vector<DrawOp>;
