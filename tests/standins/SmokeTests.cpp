#include "standins/powerpoint/PowerPointHost.h"

#include <gtest/gtest.h>

TEST(Smoke, Builds) {}
