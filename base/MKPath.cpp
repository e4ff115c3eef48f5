#include "base/MKPath.h"

namespace {

bool EndsComponent(wchar_t c)
{
    return MKIsPathSeparator(c) || c == L':';
}

// Index of the dot that starts the extension of text[0..length), or -1.
int ExtensionStart(const wchar_t* text, int length)
{
    for (int i = length - 1; i >= 0; --i) {
        wchar_t c = text[i];
        if (c == L'.')
            return i == length - 1 ? -1 : i;
        if (EndsComponent(c))
            return -1;
    }
    return -1;
}

int FileNameStart(const wchar_t* text, int length)
{
    for (int i = length - 1; i >= 0; --i) {
        if (EndsComponent(text[i]))
            return i + 1;
    }
    return 0;
}

}  // namespace

bool MKPathHasValidChars(const MKString& path)
{
    const wchar_t* text = path.GetText();
    for (int i = 0; i < path.GetLength(); ++i) {
        wchar_t c = text[i];
        if (c < 32 || c == L'"' || c == L'<' || c == L'>' || c == L'|')
            return false;
    }
    return true;
}

bool MKPathIsAbsolute(const MKString& path)
{
    if (!MKPathHasValidChars(path))
        return false;
    int length = path.GetLength();
    return (length >= 1 && MKIsPathSeparator(path[0])) || (length >= 2 && path[1] == L':');
}

int MKPathRootLength(const MKString& path)
{
    int length = path.GetLength();
    if (length >= 1 && MKIsPathSeparator(path[0])) {
        if (length < 2 || !MKIsPathSeparator(path[1]))
            return 1;
        // UNC: the server and the share belong to the root.
        int separators = 0;
        for (int i = 2; i < length; ++i) {
            if (MKIsPathSeparator(path[i]) && ++separators == 2)
                return i;
        }
        return length;
    }
    if (length >= 2 && path[1] == L':')
        return (length >= 3 && MKIsPathSeparator(path[2])) ? 3 : 2;
    return 0;
}

MKString MKPathRoot(const MKString& path)
{
    MKString normal = MKPathNormalizeLoose(path);
    return normal.Left(MKPathRootLength(normal));
}

MKString MKPathFileName(const MKString& path)
{
    return path.Mid(FileNameStart(path.GetText(), path.GetLength()));
}

MKString MKPathExtension(const MKString& path)
{
    int dot = ExtensionStart(path.GetText(), path.GetLength());
    return dot < 0 ? MKString() : path.Mid(dot);
}

MKString MKPathStem(const MKString& path)
{
    MKString name = MKPathFileName(path);
    int dot = name.ReverseFindChar(L'.');
    return dot < 0 ? name : name.Left(dot);
}

MKString MKPathDirectory(const MKString& path)
{
    MKString normal = MKPathNormalizeLoose(path);
    int root = MKPathRootLength(normal);
    int end = normal.GetLength();
    if (end <= root)
        return MKString();
    while (end > root && !MKIsPathSeparator(normal[end - 1]))
        --end;
    // The separator ends the folder unless it is part of the root.
    if (end > root)
        --end;
    return normal.Left(end);
}

MKString MKPathChangeExtension(const MKString& path, const wchar_t* extension)
{
    int dot = ExtensionStart(path.GetText(), path.GetLength());
    MKString result = dot < 0 ? path : path.Left(dot);
    if (!extension || path.IsEmpty())
        return result;
    if (extension[0] != L'.')
        result = MKString::ConcatChar(result, L'.');
    result.AppendText(extension);
    return result;
}

MKString MKPathCombine(const MKString& a, const MKString& b)
{
    if (b.IsEmpty())
        return a;
    if (a.IsEmpty() || MKPathIsAbsolute(b))
        return b;
    if (EndsComponent(a[a.GetLength() - 1]))
        return MKString::Concat(a, b);
    MKString result = MKString::ConcatChar(a, L'\\');
    result.AppendString(b);
    return result;
}

bool MKPathAddTrailingSeparator(MKString& path)
{
    if (path.IsEmpty())
        return false;
    path.ReplaceChar(L'/', L'\\');
    // The two separators that open a UNC (or "\\?\") path stay: folding them
    // would name a folder on the current drive.
    int keep = path.GetLength() >= 2 && path[0] == L'\\' && path[1] == L'\\' ? 2 : 0;
    MKString rest = path.Mid(keep);
    bool changed = rest.Replace(L"\\\\", L"\\") > 0;
    if (changed)
        path = path.Left(keep) + rest;
    if (path[path.GetLength() - 1] != L'\\') {
        path = MKString::ConcatChar(path, L'\\');
        changed = true;
    }
    return changed;
}

bool MKPathSplit(const MKString& path, MKString& drive, MKString& folder, MKString& name, MKString& extension)
{
    drive.Clear();
    folder.Clear();
    name.Clear();
    extension.Clear();
    const wchar_t* text = path.GetText();
    int length = path.GetLength();

    int colon = path.FindChar(L':');
    int rest = colon + 1;
    if (colon >= 0) {
        if (rest != 2)
            return false;
        drive = path.Left(rest);
    }
    int nameStart = rest;
    for (int i = length - 1; i >= rest; --i) {
        if (MKIsPathSeparator(text[i])) {
            nameStart = i + 1;
            break;
        }
    }
    folder = path.Substring(rest, nameStart - rest);
    int dot = path.ReverseFindChar(L'.');
    if (dot > nameStart) {
        name = path.Substring(nameStart, dot - nameStart);
        extension = path.Mid(dot);
    } else {
        name = path.Mid(nameStart);
    }
    return !name.IsEmpty() || !extension.IsEmpty();
}

MKString MKPathSplitExtension(const MKString& path)
{
    MKString drive, folder, name, extension;
    if (!MKPathSplit(path, drive, folder, name, extension))
        return MKString();
    return extension;
}
