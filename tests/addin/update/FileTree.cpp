#include "FileTree.h"

#include <filesystem>
#include <fstream>
#include <iterator>

FileTree ReadFileTree(const std::wstring& root)
{
    namespace fs = std::filesystem;
    FileTree tree;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(root))) {
        std::wstring name = fs::relative(entry.path(), fs::path(root)).wstring();
        if (entry.is_directory()) {
            tree[name] = "<folder>";
        } else {
            std::ifstream file(entry.path(), std::ios::binary);
            tree[name] = std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        }
    }
    return tree;
}
