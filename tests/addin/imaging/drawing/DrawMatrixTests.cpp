#include "addin/imaging/drawing/DrawMatrix.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

TEST(DrawMatrix, RecordIsNineFloatsThenTheMask)
{
    DrawMatrix m;
    m.PreTranslate(3, 4);
    m.PreScale(2, 2);
    float values[10];
    memcpy(values, &m, 40);
    EXPECT_EQ(values[0], 2.0f);
    EXPECT_EQ(values[2], 3.0f);
    EXPECT_EQ(values[4], 2.0f);
    EXPECT_EQ(values[5], 4.0f);
    EXPECT_EQ(values[8], 1.0f);
    EXPECT_EQ(m.GetType(), uint32_t(DrawMatrix::kTranslateMask | DrawMatrix::kScaleMask));
    uint32_t mask;
    memcpy(&mask, reinterpret_cast<const char*>(&m) + 36, 4);
    EXPECT_EQ(mask & 0x80u, 0u);
}

TEST(DrawMatrix, UnknownMaskIsRecomputed)
{
    const float perspective[9] = {1, 0, 0, 0, 1, 0, 0.01f, 0, 1};
    char record[40];
    memcpy(record, perspective, 36);
    uint32_t unknown = 0x80;
    memcpy(record + 36, &unknown, 4);
    DrawMatrix m;
    memcpy(static_cast<void*>(&m), record, 40);
    EXPECT_TRUE(m.HasPerspective());
    float x, y;
    m.MapPoint(100, 50, &x, &y);
    EXPECT_FLOAT_EQ(x, 50.0f);
    EXPECT_FLOAT_EQ(y, 25.0f);
}

TEST(DrawMatrix, RotateAndInvertMapBack)
{
    DrawMatrix m;
    m.PreTranslate(10, 20);
    m.PreRotate(90);
    m.PreScale(2, 3);
    float x, y;
    m.MapPoint(1, 1, &x, &y);
    EXPECT_FLOAT_EQ(x, 10 - 3);
    EXPECT_FLOAT_EQ(y, 20 + 2);
    EXPECT_EQ(m.GetType() & DrawMatrix::kAffineMask, uint32_t(DrawMatrix::kAffineMask));
    DrawMatrix inverse;
    ASSERT_TRUE(m.Invert(&inverse));
    inverse.MapPoint(x, y, &x, &y);
    EXPECT_NEAR(x, 1, 1e-5);
    EXPECT_NEAR(y, 1, 1e-5);
    DrawMatrix flat;
    flat.PreScale(0, 1);
    EXPECT_FALSE(flat.Invert(&inverse));
}

}  // namespace
