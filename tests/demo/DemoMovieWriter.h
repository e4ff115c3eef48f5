#pragma once
#include <cstdint>
#include <vector>

// The movie the demo plays: 550 x 400 pixels at 12 frames per second over a
// dark blue stage, with a red square (220, 30, 30) sliding right at the top
// left, a blue-to-yellow gradient panel, a tiled checker bitmap, the word
// "VISTELLO" in a block font, a green button and the MP3 frames given as
// stream sound, one block per frame. Runs as long as the sound (at least a
// second) and loops.
std::vector<uint8_t> DemoMovie(const std::vector<uint8_t>& mp3Frames);

// Where the red square starts and how large it is, in stage pixels.
constexpr int kDemoSquareX = 30, kDemoSquareY = 30, kDemoSquareSide = 140;
