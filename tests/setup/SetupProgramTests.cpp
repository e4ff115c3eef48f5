#include "setup/SetupProgram.h"

#include "fixtures/Fixtures.h"
#include "setup/SetupTestSupport.h"

#include <gtest/gtest.h>

namespace {

class RecordingReporter : public SetupErrorReporter {
public:
    void ShowError(const wchar_t* text, const wchar_t* caption) override
    {
        ++count;
        this->text = text;
        this->caption = caption;
    }

    int count = 0;
    std::wstring text;
    std::wstring caption;
};

struct ReportCase {
    int code;
    bool silent;
    bool installerFailed;
    const wchar_t* text;  // null: no box
};

class ReportSetupFailureCases : public testing::TestWithParam<ReportCase> {};

TEST_P(ReportSetupFailureCases, ShowsTheBoxOnlyForTheSetupsOwnFailures)
{
    const ReportCase& c = GetParam();
    SetupCommandLine options;
    options.silent = c.silent;
    options.installerFailed = c.installerFailed;
    RecordingReporter reporter;
    ReportSetupFailure(c.code, options, reporter);
    if (!c.text) {
        EXPECT_EQ(reporter.count, 0);
        return;
    }
    EXPECT_EQ(reporter.count, 1);
    EXPECT_EQ(reporter.text, c.text);
    EXPECT_EQ(reporter.caption, L"Setup - ");
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportSetupFailureCases,
                         testing::Values(ReportCase{0, false, false, nullptr},
                                         ReportCase{107, false, false, L"An unexpected error occurred. (error 107)"},
                                         ReportCase{501, false, false, L"An unexpected error occurred. (error 501)"},
                                         ReportCase{107, true, false, nullptr},
                                         ReportCase{3, false, true, nullptr}));

// The test program carries no payload: the setup fails with 201 after making
// its folder, removes it again and tells the user through the reporter.
TEST(SetupEntry, AProgramWithoutPayloadShowsItsFailureAndLeavesNothing)
{
    ScratchFolder temp;
    TempVariables variables(temp.path());
    RecordingReporter reporter;
    EXPECT_EQ(SetupEntry(reporter), 201);
    EXPECT_EQ(reporter.count, 1);
    EXPECT_EQ(reporter.text, L"An unexpected error occurred. (error 201)");
    EXPECT_EQ(reporter.caption, L"Setup - ");
    EXPECT_TRUE(IsEmptyFolder(temp.path()));
}

}  // namespace
