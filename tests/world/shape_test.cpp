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

    // A defined type with the four corner heights h1..h4.
    static ObjectType& define(int index, int h1 = 511, int h2 = 511, int h3 = 511, int h4 = 511) {
        ObjectType& t = objectTypes[index];
        t.undefined = 0;
        t.Ymax1 = h1, t.Ymax2 = h2, t.Ymax3 = h3, t.Ymax4 = h4;
        return t;
    }
};

} // namespace

TEST_F(Shapes, TopHeightInterpolatesAsRealsAndTruncates) {
    define(3, 0, 511, 511, 0); // rises along x, level along z
    for (int lz : {0, 100, 511})
        for (int lx : {0, 256, 511}) EXPECT_EQ(topHeight(3, lx, lz), lx);
    define(3, 0, 0, 511, 511); // rises along z
    EXPECT_EQ(topHeight(3, 100, 511), 511);

    ObjectType& t = define(4, 10, 0, 0, 10);
    t.Xmax = 3;
    EXPECT_EQ(topHeight(4, 1, 0), 6); // 10 - 3.33, not 10 + (-10 div 3) = 7
}

TEST_F(Shapes, DegenerateBoxHasADefinedTop) {
    ObjectType& t = define(5, 40, 80, 120, 160);
    t.Xmin = t.Xmax = 100; // no width: the low-x edge
    EXPECT_EQ(topHeight(5, 100, 511), 160);
    t.Xmin = 0, t.Xmax = 511;
    t.Zmin = t.Zmax = 200; // no depth: the low-z edge
    EXPECT_EQ(topHeight(5, 511, 200), 80);
    t.Xmin = t.Xmax = 100;
    EXPECT_EQ(topHeight(5, 100, 200), 40);
}

TEST_F(Shapes, PointTestsUseTheBoxTheSlopeAndCollision) {
    ObjectType& ramp = define(1, 0, 511, 511, 0);
    setCell(1, 0, 0, 1);
    EXPECT_TRUE(pointInShape(512 + 300, 300, 100));
    EXPECT_FALSE(pointInShape(512 + 300, 301, 100));
    ramp.Xmin = 10;
    EXPECT_FALSE(pointInShape(512 + 5, 0, 100));
    ramp.Collision = 0;
    EXPECT_TRUE(pointInShape(512 + 300, 100, 100));
    EXPECT_FALSE(pointInSolid(512 + 300, 100, 100));

    ObjectType& block = define(2, 300, 300, 300, 300);
    block.Ymin = 100;
    setCell(0, 0, 0, 2);
    EXPECT_FALSE(pointInSolid(256, 50, 256));
    EXPECT_TRUE(pointInSolidRaised(60, 256, 50, 256)); // range 40..240
    EXPECT_TRUE(pointInSolid(256, 280, 256));
    EXPECT_FALSE(pointInSolidRaised(60, 256, 280, 256));

    // Undefined types are empty air whatever their record says.
    setCell(0, 1, 0, 8);
    EXPECT_FALSE(pointInShape(256, 512 + 256, 256));
}

TEST_F(Shapes, OnePastTheLastCellReadsAsTypeZero) {
    define(0); // a full colliding box, to make type 0 visible
    EXPECT_TRUE(pointInSolid(2 * 512 + 10, 10, 10));
    EXPECT_TRUE(pointInSolid(10, 2 * 512 + 10, 2 * 512 + 10));
    EXPECT_FALSE(pointInSolid(3 * 512 + 10, 10, 10));
    EXPECT_FALSE(pointInSolid(-600, 10, 10)); // cell -1
    EXPECT_FALSE(pointInSolid(-3, 10, 10));   // cell 0, local x -3
    EXPECT_FALSE(pointInSolid(1e30f, 10, 10));
}
