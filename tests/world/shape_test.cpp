#include "world/world.h"

#include <gtest/gtest.h>

namespace {

class Shapes : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(2, 2, 2));
    }
    void TearDown() override { ClearWorldTables(); }

    static ObjectType& define(int index) {
        ObjectType& type = objectTypes[index];
        type.undefined = 0;
        return type;
    }
    static void corners(ObjectType& t, int h1, int h2, int h3, int h4) {
        t.Ymax1 = h1, t.Ymax2 = h2, t.Ymax3 = h3, t.Ymax4 = h4;
    }
};

} // namespace

TEST_F(Shapes, RampRisesAlongXAndIsLevelAlongZ) {
    ObjectType& ramp = define(3);
    corners(ramp, 0, 511, 511, 0);
    for (int lz : {0, 100, 511}) {
        EXPECT_EQ(topHeight(3, 0, lz), 0);
        EXPECT_EQ(topHeight(3, 256, lz), 256);
        EXPECT_EQ(topHeight(3, 511, lz), 511);
    }
    // A slope along z: low side at z = Zmin.
    corners(ramp, 0, 0, 511, 511);
    EXPECT_EQ(topHeight(3, 100, 0), 0);
    EXPECT_EQ(topHeight(3, 400, 511), 511);
}

TEST_F(Shapes, TopHeightDividesAsRealsAndTruncates) {
    ObjectType& t = define(4);
    t.Xmin = 0, t.Xmax = 3;
    corners(t, 0, 10, 10, 0);
    EXPECT_EQ(topHeight(4, 1, 0), 3); // 3.33
    corners(t, 10, 0, 0, 10);
    EXPECT_EQ(topHeight(4, 1, 0), 6); // 10 - 3.33 = 6.67, not 10 + (-10 div 3) = 7
}

TEST_F(Shapes, DegenerateBoxHasADefinedTop) {
    ObjectType& t = define(5);
    corners(t, 40, 80, 120, 160);
    t.Xmin = t.Xmax = 100;
    // No width: the low-x edge, interpolated along z from Ymax1 to Ymax4.
    EXPECT_EQ(topHeight(5, 100, 0), 40);
    EXPECT_EQ(topHeight(5, 100, 511), 160);
    t.Xmin = 0, t.Xmax = 511;
    t.Zmin = t.Zmax = 200;
    // No depth: the low-z edge, from Ymax1 to Ymax2 along x.
    EXPECT_EQ(topHeight(5, 0, 200), 40);
    EXPECT_EQ(topHeight(5, 511, 200), 80);
    t.Xmin = t.Xmax = 100;
    EXPECT_EQ(topHeight(5, 100, 200), 40);
}

TEST_F(Shapes, PointTestsUseTheCellBoxAndTheSlopedTop) {
    ObjectType& ramp = define(1);
    corners(ramp, 0, 511, 511, 0);
    setCell(1, 0, 0, 1);
    // Cell (1, 0, 0) covers x 512..1023; the top at local x is that x.
    EXPECT_TRUE(pointInShape(512 + 300, 299, 100));
    EXPECT_TRUE(pointInShape(512 + 300, 300, 100));
    EXPECT_FALSE(pointInShape(512 + 300, 301, 100));
    EXPECT_TRUE(pointInShape(512 + 5, 5, 100));
    ramp.Xmin = 10;
    EXPECT_FALSE(pointInShape(512 + 5, 0, 100)); // left of Xmin
    EXPECT_TRUE(pointInSolid(512 + 300, 100, 100));
    ramp.Collision = 0;
    EXPECT_TRUE(pointInShape(512 + 300, 100, 100));
    EXPECT_FALSE(pointInSolid(512 + 300, 100, 100));
}

TEST_F(Shapes, RaisedSolidLowersTheVerticalRange) {
    ObjectType& block = define(2);
    block.Ymin = 100;
    corners(block, 300, 300, 300, 300);
    setCell(0, 0, 0, 2);
    EXPECT_FALSE(pointInSolid(256, 50, 256));
    EXPECT_TRUE(pointInSolidRaised(60, 256, 50, 256)); // range 40..240
    EXPECT_TRUE(pointInSolid(256, 280, 256));
    EXPECT_FALSE(pointInSolidRaised(60, 256, 280, 256));
}

TEST_F(Shapes, OnePastTheLastCellReadsAsTypeZero) {
    define(0);                                       // a full colliding box, to make type 0 visible
    EXPECT_TRUE(pointInSolid(2 * 512 + 10, 10, 10)); // cell x = sizeX
    EXPECT_FALSE(pointInSolid(3 * 512 + 10, 10, 10)); // two past
    EXPECT_TRUE(pointInSolid(10, 2 * 512 + 10, 2 * 512 + 10));
    EXPECT_FALSE(pointInSolid(-600, 10, 10)); // cell -1
    EXPECT_FALSE(pointInSolid(-3, 10, 10));   // cell 0, local x -3
    EXPECT_FALSE(pointInSolid(1e30f, 10, 10));
}

TEST_F(Shapes, UndefinedTypesAreEmptyAir) {
    setCell(0, 0, 0, 8); // type 8 keeps its default box and Collision but is undefined
    EXPECT_FALSE(pointInShape(256, 256, 256));
    EXPECT_FALSE(pointInSolid(256, 256, 256));
    define(8);
    EXPECT_TRUE(pointInSolid(256, 256, 256));
}
