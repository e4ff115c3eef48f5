#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <windows.h>

// The control's own file reads and writes. The library's file helpers serve
// the wide build only; these stay in this narrow build's terms.

// The whole file into bytes; false (bytes empty) when it cannot be read whole
// or is 2 GB or larger. A null or empty path reads nothing.
bool ReadMovieFile(const wchar_t* path, MKByteArray& bytes);

// Writes the bytes to a new file in the temporary folder and gives its path;
// false (nothing left behind) when it cannot.
bool WriteTempMovieFile(const MKByteArray& bytes, MKString& path);
