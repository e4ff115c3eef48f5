#pragma once
#include <map>
#include <string>

// Every file (with its bytes) and folder (with "<folder>") under a root, by
// relative path.
using FileTree = std::map<std::wstring, std::string>;
FileTree ReadFileTree(const std::wstring& root);
