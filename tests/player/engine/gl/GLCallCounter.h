#pragma once
#include "player/engine/GLTable.h"

// Counts the calls the engine makes through one entry of the GL table while
// it lives, passing each on to the library; the last argument values of
// glTexParameteri are kept by parameter name.
class GLCallCounter {
public:
    GLCallCounter();
    ~GLCallCounter();
    GLCallCounter(const GLCallCounter&) = delete;
    GLCallCounter& operator=(const GLCallCounter&) = delete;

    int texImages = 0;
    int deletedTextures = 0;
    int quadDraws = 0;
    GLint wrapS = 0;
    GLint wrapT = 0;
};
