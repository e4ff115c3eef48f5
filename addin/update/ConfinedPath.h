#pragma once
#include "base/MKString.h"

// Names that packages and the installed plug-in list give for files inside the
// installation folder. They come from downloaded or stored data, so a name
// that could reach outside the folder (absolute, with a drive or stream ':',
// or a ".." component) or name a device (CON, NUL, LPT1.txt) is refused
// wherever it becomes a path.

// Empty, or relative components separated by '\' or '/', none of them "..",
// with valid path characters, no ':' and no device name.
bool IsConfinedRelativePath(const MKString& path);
// A confined relative path of one non-empty component other than ".".
bool IsPlainFileName(const MKString& name);
// An absolute path strictly inside folder: it begins with the folder's full
// form and a separator, and the rest is a confined relative path that names
// something below the folder (not only "." components).
// Paths written another way (a "\\?\" prefix, a short name, ".." anywhere
// after the folder, another drive) are refused rather than interpreted.
bool IsPathInsideFolder(const MKString& path, const MKString& folder);
