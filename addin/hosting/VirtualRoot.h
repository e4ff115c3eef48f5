#pragma once

// Everything the add-in serves to hosted controls from memory lives below one
// fictitious folder on drive C:; nothing of it exists on disk.
constexpr wchar_t kVirtualRoot[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\";
constexpr int kVirtualRootLength = 45;
// Requests for the picture that lies behind a node.
constexpr wchar_t kBackgroundImageFolder[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\bgimg\\";
constexpr int kBackgroundImageFolderLength = 51;
// The root's identifier alone, as it appears in the queries of embed URLs.
constexpr wchar_t kVirtualRootId[] = L"9EA84E08259647B1995FC2CEB15B7423";

static_assert(sizeof(kVirtualRoot) / sizeof(wchar_t) == kVirtualRootLength + 1);
static_assert(sizeof(kBackgroundImageFolder) / sizeof(wchar_t) == kBackgroundImageFolderLength + 1);
