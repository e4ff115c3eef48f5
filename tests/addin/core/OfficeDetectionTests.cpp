// Office detection against stand-in installations: InstallRoot values, MSO.DLL
// named in FilesPaths or kept in the shared folder, and the version resources
// of the stand-in POWERPNT.EXE and MSO.DLL.
#include "AddInTestSupport.h"
#include "fixtures/Fixtures.h"
#include "fixtures/ScratchOffice.h"

#include "addin/core/OfficeInfo.h"
#include "standins/powerpoint/OfficeInstallation.h"

#include <gtest/gtest.h>

using standin::FileVersion;
using standin::MsoPlace;
using standin::OfficeInstallation;

namespace {

const FileVersion kUnreadable = {};

struct DetectionCase {
    int major;
    FileVersion powerPoint;
    MsoPlace msoPlace;
    FileVersion mso;
    int code;
    const wchar_t* name;
};

TEST(OfficeDetection, TheProductCodeComesFromMsoThenPowerPointThenTheMajorVersion)
{
    const DetectionCase cases[] = {
        {11, {11, 0, 8169, 0}, MsoPlace::FilesPaths, {11, 0, 7969, 0}, 1102, L"Microsoft Office 2003 (SP2)"},
        {11, {11, 0, 8169, 0}, MsoPlace::FilesPaths, {11, 0, 8173, 0}, 1103, L"Microsoft Office 2003 (SP3)"},
        {11, {11, 0, 6361, 0}, MsoPlace::None, kUnreadable, 1101, L"Microsoft Office 2003 (SP1)"},
        {12, {12, 0, 6425, 1000}, MsoPlace::FilesPaths, kUnreadable, 1202, L"Microsoft Office 2007 (SP2)"},
        {12, {12, 0, 6425, 1000}, MsoPlace::FilesPaths, {12, 0, 6213, 0}, 1201, L"Microsoft Office 2007 (SP1)"},
        {12, kUnreadable, MsoPlace::FilesPaths, kUnreadable, 1200, L"Microsoft Office 2007 (Release)"},
        {14, {14, 0, 1, 0}, MsoPlace::FilesPaths, {14, 0, 9999, 0}, 1400, L"Microsoft Office 2010 (Release)"},
        {10, {10, 0, 6501, 0}, MsoPlace::SharedFolder, {10, 0, 4330, 0}, 1002, L"Microsoft Office XP (SP2)"},
        {10, {10, 0, 6501, 0}, MsoPlace::SharedFolder, kUnreadable, 1003, L"Microsoft Office XP (SP3)"},
    };
    for (const DetectionCase& c : cases) {
        ScratchFolder folder;
        OfficeInstallation office;
        office.major = c.major;
        office.folder = folder.File(L"Office");
        office.powerPointVersion = c.powerPoint;
        office.msoPlace = c.msoPlace;
        office.msoVersion = c.mso;
        ASSERT_TRUE(office.Install());
        OfficeInfo info;
        bool detected = info.Detect(c.major);
        office.Remove();

        SCOPED_TRACE(c.name);
        ASSERT_TRUE(detected);
        EXPECT_EQ(info.GetProductCode(), c.code);
        EXPECT_STREQ(info.GetProductName(), c.name);
        EXPECT_TRUE(SameVersion(info.GetVersion(), c.code / 100, 0, c.code % 100, 0));
        EXPECT_EQ(info.GetInstallRoot(), MKString(folder.File(L"Office\\").c_str()));
        EXPECT_EQ(info.GetPowerPointPath(), MKString(folder.File(L"Office\\POWERPNT.EXE").c_str()));
        if (c.msoPlace != MsoPlace::None) {
            EXPECT_EQ(info.GetMsoPath().ToLower(), MKString(office.MsoPath().c_str()).ToLower());
        }
        // Unreadable versions read 0.0.-1.-1.
        const FileVersion& mso = c.msoPlace == MsoPlace::None ? kUnreadable : c.mso;
        EXPECT_TRUE(mso.major ? SameVersion(info.GetMsoVersion(), mso.major, mso.minor, mso.build, mso.revision)
                              : SameVersion(info.GetMsoVersion(), 0, 0, -1, -1));
        const FileVersion& powerPoint = c.powerPoint;
        EXPECT_TRUE(powerPoint.major ? SameVersion(info.GetPowerPointVersion(), powerPoint.major, powerPoint.minor,
                                                   powerPoint.build, powerPoint.revision)
                                     : SameVersion(info.GetPowerPointVersion(), 0, 0, -1, -1));
    }
}

TEST(OfficeDetection, ASearchTakesTheNewestVersionWithPowerPoint)
{
    ScratchFolder folder;
    OfficeInstallation office11 = ScratchOffice(folder, 11, {11, 0, 8169, 0}, {11, 0, 8173, 0});
    OfficeInstallation office12 = ScratchOffice(folder, 12, {12, 0, 6425, 0}, {12, 0, 6425, 0});
    // An install root without POWERPNT.EXE does not count.
    OfficeInstallation office14 = ScratchOffice(folder, 14, {}, {});
    office14.withPowerPoint = false;
    office14.msoPlace = MsoPlace::None;
    ASSERT_TRUE(office11.Install() && office12.Install() && office14.Install());

    OfficeInfo info;
    bool found = info.Detect(0);
    bool found14 = OfficeInfo().Detect(14);
    office11.Remove();
    office12.Remove();
    office14.Remove();
    ASSERT_TRUE(found);
    EXPECT_EQ(info.GetProductCode(), 1202);
    EXPECT_FALSE(found14);
}

TEST(OfficeDetection, NoInstallRootIsNoOfficeAndTheFallbackKeepsTheMajorVersion)
{
    OfficeInfo info;
    EXPECT_FALSE(info.Detect(13));
    EXPECT_EQ(info.GetProductCode(), 0);
    EXPECT_STREQ(info.GetProductName(), L"None");
    EXPECT_TRUE(info.GetInstallRoot().IsEmpty());
    info.SetFallback(12);
    EXPECT_EQ(info.GetProductCode(), 1200);
    EXPECT_TRUE(SameVersion(info.GetVersion(), 12, 0, -1, -1));
    EXPECT_TRUE(SameVersion(info.GetMsoVersion(), 0, 0, -1, -1));
    EXPECT_STREQ(info.GetProductName(), L"Microsoft Office 2007 (Release)");
}

TEST(OfficeDetection, BuildNumbersMapToServicePacksAtTheEdges)
{
    struct Case {
        int major;
        int build;
        int fromMso;
        int fromPowerPoint;
    };
    const Case cases[] = {
        {10, 3519, 1000, 1001}, {10, 3505, 1000, 1000}, {10, 3520, 1001, 1001}, {10, 4204, 1001, 1001},
        {10, 4205, 1001, 1002}, {10, 4330, 1002, 1002}, {10, 6500, 1002, 1002}, {10, 6501, 1002, 1003},
        {10, 6625, 1002, 1003}, {10, 6626, 1003, 1003}, {11, 6360, 1100, 1100}, {11, 6361, 1101, 1101},
        {11, 7968, 1101, 1101}, {11, 7969, 1102, 1102}, {11, 8172, 1102, 1102}, {11, 8173, 1103, 1103},
        {12, 6210, 1200, 1200}, {12, 6211, 1200, 1201}, {12, 6212, 1200, 1201}, {12, 6213, 1201, 1201},
        {12, 6424, 1201, 1201}, {12, 6425, 1202, 1202}, {14, 0, 1400, 1400},    {14, 7000, 1400, 1400},
        {15, 4420, 1500, 1500}, {9, 1, 900, 900},
    };
    for (const Case& c : cases) {
        MKVersion version(c.major, 0, c.build, 0);
        EXPECT_EQ(OfficeInfo::ProductCodeFromMso(version), c.fromMso) << c.major << "." << c.build;
        EXPECT_EQ(OfficeInfo::ProductCodeFromPowerPoint(version), c.fromPowerPoint) << c.major << "." << c.build;
    }
}

TEST(OfficeDetection, OnlyKnownProductsHaveNames)
{
    EXPECT_STREQ(OfficeInfo::ProductName(1000), L"Microsoft Office XP (Release)");
    EXPECT_STREQ(OfficeInfo::ProductName(1003), L"Microsoft Office XP (SP3)");
    EXPECT_STREQ(OfficeInfo::ProductName(1100), L"Microsoft Office 2003 (Release)");
    EXPECT_STREQ(OfficeInfo::ProductName(1202), L"Microsoft Office 2007 (SP2)");
    for (int unnamed : {1004, 1203, 1300, 1401, 1500, -1})
        EXPECT_EQ(OfficeInfo::ProductName(unnamed), nullptr) << unnamed;
}

}  // namespace
