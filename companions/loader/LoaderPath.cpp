#include "companions/loader/LoaderPath.h"

#include "base/MKPath.h"

#include <string.h>
#include <wchar.h>

int LoaderFolderEnd(const wchar_t* path, int length)
{
    int root = MKPathRootLength(MKString::MKStringFromChars(path, length));
    for (int i = length - 1; i >= root; --i) {
        if (MKIsPathSeparator(path[i]))
            return i + 1;
    }
    // A file right in the root of a drive or of the current drive.
    if (root > 0 && root < length && MKIsPathSeparator(path[root - 1]))
        return root;
    return 0;
}

bool LoaderSiblingPath(const wchar_t* modulePath, int length, const wchar_t* fileName, wchar_t* out, int capacity)
{
    int folderEnd = LoaderFolderEnd(modulePath, length);
    int nameLength = static_cast<int>(wcslen(fileName));
    if (folderEnd == 0 || folderEnd + nameLength + 1 > capacity)
        return false;
    memmove(out, modulePath, folderEnd * sizeof(wchar_t));
    memcpy(out + folderEnd, fileName, (nameLength + 1) * sizeof(wchar_t));
    return true;
}
