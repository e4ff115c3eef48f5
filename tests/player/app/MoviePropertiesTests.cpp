#include "player/app/PVMovieProperties.h"

#include <gtest/gtest.h>

namespace {

struct DurationCase {
    int frames;
    float rate;
    const char* text;
};

TEST(MovieProperties, DurationRoundsToSecondsAndNamesOnlyWhatIsNotZero)
{
    const DurationCase cases[] = {
        {90, 12, "8 seconds"},        {3600, 1, "1 hours "},
        {61, 1, "1 minutes 1 seconds"}, {1, 30, "1 seconds"},
        {3661, 1, "1 hours 1 minutes 1 seconds"}, {30, 0, "1 seconds"},
    };
    for (const DurationCase& c : cases) {
        EXPECT_STREQ(c.text, PVFormatDuration(c.frames, c.rate, "%d hours", "%d minutes", "%d seconds").GetText())
            << c.frames << " at " << c.rate;
    }
}

TEST(MovieProperties, SizeGroupsDigitsByThree)
{
    EXPECT_STREQ("1 234 567 bytes", PVFormatFileSize(1234567).GetText());
    EXPECT_STREQ("123 bytes", PVFormatFileSize(123).GetText());
    EXPECT_STREQ("1 000 bytes", PVFormatFileSize(1000).GetText());
    EXPECT_STREQ("0 bytes", PVFormatFileSize(0).GetText());
    EXPECT_STREQ("-1 bytes", PVFormatFileSize(-1).GetText());
}

TEST(MovieProperties, LocationDropsTheSeparatorButKeepsADrivesBackslash)
{
    EXPECT_STREQ("C:\\Movies\\Old", PVFormatLocation("C:\\Movies\\Old\\a.swf").GetText());
    EXPECT_STREQ("C:\\", PVFormatLocation("C:\\a.swf").GetText());
    EXPECT_STREQ("a.swf", PVFormatFileName("C:\\Movies\\a.swf").GetText());
}

}  // namespace
