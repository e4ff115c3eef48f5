#pragma once
#include "base/MKString.h"

// Path text. Both '\' and '/' separate everywhere; functions that build paths
// write '\'. Nothing here touches the disk except the canonicalisation with
// the full check (long names and the current folder) and the long-name
// expansion of '~' components. Failures answer false, 0 or an empty string.

// The longest path in characters (MAX_PATH without its terminator).
enum { MKMaxPathLength = 259 };

inline bool MKIsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// False when a character is below 32 or one of '"', '<', '>', '|'.
bool MKPathHasValidChars(const MKString& path);
// Valid characters and a leading separator or a ':' as second character.
bool MKPathIsAbsolute(const MKString& path);
// "\x": 1; "\\server\share\x": up to the separator after the share (the whole
// length when there is none); "C:" 2; "C:\" 3; otherwise 0.
int MKPathRootLength(const MKString& path);
// The root of the loosely normalised path.
MKString MKPathRoot(const MKString& path);
// What follows the last '\', '/' or ':'.
MKString MKPathFileName(const MKString& path);
// ".ext" of the last component; empty when there is none or the name ends in
// a dot.
MKString MKPathExtension(const MKString& path);
// The file name without its extension.
MKString MKPathStem(const MKString& path);
// The loosely normalised path up to its last separator after the root (the
// root itself keeps its separator); empty when nothing follows the root.
MKString MKPathDirectory(const MKString& path);
// Drops the extension, then appends "." and the extension (a leading dot of
// the text is not doubled) when one is given and the path is not empty.
MKString MKPathChangeExtension(const MKString& path, const wchar_t* extension);
// b when a is empty or b is absolute; a when b is empty; otherwise a and b
// joined by one '\' unless a already ends with a separator or ':'.
MKString MKPathCombine(const MKString& a, const MKString& b);
// Writes every '/' as '\', folds doubled backslashes once (not the two that
// open a UNC path) and appends a '\' when missing. True when it appended or
// folded; false for an empty path.
bool MKPathAddTrailingSeparator(MKString& path);
// Splits into drive ("C:"), folder (with its trailing separator), name and
// extension (".txt"; a leading dot belongs to the name). False when the drive
// part is not two characters long or name and extension are both empty.
bool MKPathSplit(const MKString& path, MKString& drive, MKString& folder, MKString& name, MKString& extension);
// The extension of MKPathSplit; empty when it fails.
MKString MKPathSplitExtension(const MKString& path);

// Canonical form of a path: separators written as '\' and folded, "." and ".."
// components written plainly, trailing dots and blanks of names dropped, '~'
// components expanded to their long names. With the full check the text is
// also trimmed at the end, checked for invalid characters, URL-like texts
// ("http:", "file:") and bare UNC servers are refused, and the result is made
// absolute by the system. Results of 260 characters or more fail. On failure
// out is left unchanged; when the result equals the input, out shares it.
bool MKPathNormalize(const MKString& path, MKString& out, bool fullCheck);
// MKPathNormalize with the full check; on failure the input and false.
MKString MKPathCanonicalize(const MKString& path, bool* success);
MKString MKPathFull(const MKString& path);
// MKPathNormalize without the full check; the input on failure.
MKString MKPathNormalizeLoose(const MKString& path);
// Replaces a path of fewer than 260 characters by its long form in place;
// the buffer holds 260 characters. Kept as it is when the long form cannot be
// found or does not fit. Returns the length.
int MKLongPathInPlace(wchar_t* buffer, int length);
