#include "core/money.h"

#include <gtest/gtest.h>

#include <cmath>

using kelvarn::roundPlaces;

TEST(RoundPlaces, RoundsToThePlacesAskedFor) {
    EXPECT_DOUBLE_EQ(roundPlaces(12.34567, 4), 12.3457);
    EXPECT_DOUBLE_EQ(roundPlaces(12.34567, 2), 12.35);
    EXPECT_DOUBLE_EQ(roundPlaces(1.23456789, 6), 1.234568);
    EXPECT_DOUBLE_EQ(roundPlaces(1234.4, 0), 1234);
    EXPECT_DOUBLE_EQ(roundPlaces(1234.6, 0), 1235);
    EXPECT_DOUBLE_EQ(roundPlaces(-7.006, 2), -7.01);
    EXPECT_DOUBLE_EQ(roundPlaces(0, 2), 0);
}

TEST(RoundPlaces, ExactHalvesGoToTheEvenNeighbour) {
    EXPECT_DOUBLE_EQ(roundPlaces(0.5, 0), 0);
    EXPECT_DOUBLE_EQ(roundPlaces(1.5, 0), 2);
    EXPECT_DOUBLE_EQ(roundPlaces(2.5, 0), 2);
    EXPECT_DOUBLE_EQ(roundPlaces(-2.5, 0), -2);
    EXPECT_DOUBLE_EQ(roundPlaces(-3.5, 0), -4);
    EXPECT_DOUBLE_EQ(roundPlaces(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(roundPlaces(0.375, 2), 0.38);
}

TEST(RoundPlaces, DecimalHalvesCountAsHalvesDespiteBinaryError) {
    // 2.675 and 2.665 are stored a hair below and above the half.
    EXPECT_DOUBLE_EQ(roundPlaces(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(roundPlaces(2.665, 2), 2.66);
    EXPECT_DOUBLE_EQ(roundPlaces(1.00005, 4), 1.0);
    EXPECT_DOUBLE_EQ(roundPlaces(123456789.125, 2), 123456789.12);
    // Just off the half is no half.
    EXPECT_DOUBLE_EQ(roundPlaces(2.6750001, 2), 2.68);
    EXPECT_DOUBLE_EQ(roundPlaces(2.6749, 2), 2.67);
}

TEST(RoundPlaces, NoNegativeZero) {
    EXPECT_FALSE(std::signbit(roundPlaces(-0.001, 2)));
    EXPECT_FALSE(std::signbit(roundPlaces(-0.5, 0)));
}
