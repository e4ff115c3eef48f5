#include "base/MKWriteStdErr.h"

#include "tests/fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>

#include <string>

namespace {

TEST(WriteStdErr, WritesTheFourTextsInOrderToDescriptorTwo)
{
    ScratchFolder scratch;
    std::wstring path = scratch.File(L"stderr.txt");
    int file = _wopen(path.c_str(), _O_CREAT | _O_WRONLY | _O_BINARY | _O_TRUNC, _S_IREAD | _S_IWRITE);
    ASSERT_GE(file, 0);
    fflush(stderr);
    int saved = _dup(2);
    ASSERT_GE(saved, 0);
    ASSERT_EQ(0, _dup2(file, 2));
    MKWriteStdErr("one ", "two", nullptr, "\n");
    MKWriteStdErr("", "3", "4", "5");
    _dup2(saved, 2);
    _close(saved);
    _close(file);

    FILE* written = _wfopen(path.c_str(), L"rb");
    ASSERT_NE(nullptr, written);
    char buffer[64] = {};
    size_t n = fread(buffer, 1, sizeof buffer, written);
    fclose(written);
    EXPECT_EQ("one two\n345", std::string(buffer, n));
}

}  // namespace
