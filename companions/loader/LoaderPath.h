#pragma once

// Where the loader writes the main add-in's file name into its own module
// path: just after the last '\' or '/' beyond the path's root (for
// "\\server\share\folder\file" after "folder\"). A path whose file lies right
// in a root that ends in a separator ("C:\", "\") cuts after that root. 0
// when there is no folder to cut at, such as a bare root ("C:").
int LoaderFolderEnd(const wchar_t* path, int length);

// Writes the folder of modulePath (length characters) followed by fileName
// and its terminator into out, which holds capacity characters. False, with
// out untouched, when there is no folder or the result does not fit.
bool LoaderSiblingPath(const wchar_t* modulePath, int length, const wchar_t* fileName, wchar_t* out, int capacity);
