// The terrain's generators, morph, normals and queries on its grids (no device needed).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "terrain.h"

namespace {

constexpr int kLast = kTerrainWorking - 1;

class TerrainGrid : public ::testing::Test {
protected:
    void SetUp() override { std::srand(1); }
    void TearDown() override { std::srand(1); }
    std::unique_ptr<CTerrain> terrain_ = std::make_unique<CTerrain>();
    CTerrain& t = *terrain_;

    void SetTargets(float value) {
        for (auto& row : t.m_target)
            for (float& v : row) v = value;
    }
    bool AllTargetsAre(float value) {
        for (int x = 0; x < kTerrainWorking; ++x)
            for (int z = 0; z < kTerrainWorking; ++z)
                if (t.m_target[x][z] != value) return false;
        return true;
    }
    bool EdgesAreZero(const float (&grid)[kTerrainPoints][kTerrainPoints]) {
        for (int i = 0; i < kTerrainPoints; ++i)
            if (grid[128][i] != 0.0f || grid[i][128] != 0.0f) return false;
        return true;
    }
};

TEST_F(TerrainGrid, StartsFlatCleanAndDefined) {
    EXPECT_EQ(t.m_numVertices, 16641);
    EXPECT_EQ(t.m_numTriangles, 32768);
    EXPECT_EQ(t.m_gridSize, 128.0f);
    EXPECT_FALSE(t.m_bDirty);
    EXPECT_EQ(t.m_pVertexBuffer, nullptr);
    for (int x = 0; x < kTerrainPoints; ++x)
        for (int z = 0; z < kTerrainPoints; ++z) {
            ASSERT_EQ(t.m_height[x][z], 0.0f);
            ASSERT_EQ(t.m_normalised[x][z], 0.0f);
            ASSERT_EQ(t.m_normals[x][z].y, 1.0f);
        }
    t.Flatten();
    t.Morph(0.05f);
    EXPECT_FALSE(t.m_bDirty);
    EXPECT_TRUE(AllTargetsAre(0.0f));
}

TEST_F(TerrainGrid, MorphCoversTheRateOfTheDistanceAndSnapsWithinIt) {
    t.m_target[10][20] = 1.0f;
    t.m_target[11][20] = 0.05f;  // exactly the rate away: snaps at once
    t.m_bDirty = true;
    t.Morph(0.05f);
    EXPECT_FLOAT_EQ(t.m_height[10][20], 0.05f);
    EXPECT_EQ(t.m_height[11][20], 0.05f);
    t.Morph(0.05f);
    EXPECT_FLOAT_EQ(t.m_height[10][20], 0.0975f);
    int calls = 2;
    CVector3 before = t.m_normals[10][20];
    while (t.m_height[10][20] != 1.0f && calls < 1000) {
        ASSERT_TRUE(t.m_bDirty) << "the flag stays set until every point has settled";
        before = t.m_normals[11][20];
        t.Morph(0.05f);
        ++calls;
    }
    EXPECT_EQ(calls, 60);
    // The call that settled the last point cleared the flag and left the normals as they were.
    EXPECT_FALSE(t.m_bDirty);
    EXPECT_EQ(t.m_normals[11][20].x, before.x);
    EXPECT_NE(before.x, 0.0f);
    t.m_target[5][5] = 3.0f;
    t.Morph(0.05f);
    EXPECT_EQ(t.m_height[5][5], 0.0f) << "a clean terrain does not morph";
}

TEST_F(TerrainGrid, MorphMovesDownwardAsWell) {
    t.m_height[3][4] = 2.0f;
    t.m_bDirty = true;
    t.Morph(0.5f);
    EXPECT_FLOAT_EQ(t.m_height[3][4], 1.0f);
}

TEST_F(TerrainGrid, NormalsFollowTheSlopeOnEveryRowAndColumn) {
    // A ramp rising 0.5 per cell along x: every normal, the borders and the last row and column
    // included, is the unit vector along (-0.5, 1, 0).
    for (int x = 0; x < kTerrainPoints; ++x)
        for (int z = 0; z < kTerrainPoints; ++z) t.m_height[x][z] = 0.5f * x;
    t.ComputeNormals();
    const float nx = -1.0f / std::sqrt(5.0f), ny = 2.0f / std::sqrt(5.0f);
    for (int x : {0, 1, 64, 126, 127, 128})
        for (int z : {0, 1, 64, 127, 128}) {
            EXPECT_NEAR(t.m_normals[x][z].x, nx, 1e-6f) << x << "," << z;
            EXPECT_NEAR(t.m_normals[x][z].y, ny, 1e-6f) << x << "," << z;
            EXPECT_NEAR(t.m_normals[x][z].z, 0.0f, 1e-6f) << x << "," << z;
        }
    // A single bump: the central differences of its neighbours point away from it, upward.
    t.Fill(0.0f);
    for (auto& row : t.m_height)
        for (float& v : row) v = 0.0f;
    t.m_height[50][50] = 2.0f;
    t.ComputeNormals();
    EXPECT_NEAR(t.m_normals[51][50].x, 1.0f / std::sqrt(2.0f), 1e-6f);
    EXPECT_NEAR(t.m_normals[51][50].y, 1.0f / std::sqrt(2.0f), 1e-6f);
    EXPECT_NEAR(t.m_normals[50][49].z, -1.0f / std::sqrt(2.0f), 1e-6f);
}

TEST_F(TerrainGrid, NoiseDrawsOnePerPointFromTheFarCorner) {
    t.AddNoise(1.0f);
    // The generator's first value, 41, lands on point (127, 127): (41 - 0.5) * 0.001.
    EXPECT_FLOAT_EQ(t.m_target[kLast][kLast], 0.0405f);
    EXPECT_FLOAT_EQ(t.m_target[126][kLast], (18467 % 1000 - 0.5f) * 0.001f);
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) {
            ASSERT_GE(t.m_target[x][z], -0.0005f);
            ASSERT_LE(t.m_target[x][z], 0.9985f);
        }
    EXPECT_TRUE(EdgesAreZero(t.m_target));
    EXPECT_TRUE(t.m_bDirty);
}

TEST_F(TerrainGrid, HillRaisesByTheCosineInsideItsBox) {
    t.AddHill(50.5f, 50.0f, 10.0f, 10.0f);
    EXPECT_NEAR(t.m_target[41][50], 10.0 * std::cos(9.5 * 1.570796325 / 10.0), 1e-5);
    EXPECT_NEAR(t.m_target[41][50], 0.785f, 1e-3f);
    EXPECT_NEAR(t.m_target[50][50], 9.969f, 1e-3f);
    EXPECT_EQ(t.m_target[60][50], 0.0f) << "column x1 lies outside the box";
    EXPECT_EQ(t.m_target[50][61], 0.0f);
    EXPECT_TRUE(t.m_bDirty);
}

TEST_F(TerrainGrid, HillsAtTheGridsEdgeOrBeyondStayInside) {
    t.AddHill(127.5f, 0.0f, 10.0f, 10.0f);
    EXPECT_GT(t.m_target[kLast][0], 9.0f);
    EXPECT_TRUE(EdgesAreZero(t.m_target));
    SetTargets(0.0f);
    for (float c : {-1e30f, 1e30f, NAN}) t.AddHill(c, c, 10.0f, 10.0f);
    EXPECT_TRUE(AllTargetsAre(0.0f));
}

TEST_F(TerrainGrid, RandomHillBeyondTheGridChangesNothingButStillMarksTheTerrain) {
    // The first draws place the centre at x 184.67, z 0.41: beyond 137.
    t.m_height[20][20] = 4.0f;
    t.AddRandomHill(10.0f, 10.0f);
    EXPECT_TRUE(AllTargetsAre(0.0f));
    EXPECT_TRUE(t.m_bDirty);
    EXPECT_LT(t.m_normals[21][20].y, 1.0f) << "the normals were recomputed";
}

TEST_F(TerrainGrid, RandomPointTakesZFromTheFirstDraw) {
    const CVector3 p = t.RandomPoint();
    EXPECT_FLOAT_EQ(p.z, 0.41f);
    EXPECT_FLOAT_EQ(p.x, 184.67f);
    EXPECT_EQ(p.y, 0.0f);
}

TEST_F(TerrainGrid, FaultsRaiseOneSideAndNeverGoBelowZero) {
    SetTargets(3.0f);
    CPlane plane;
    plane.m_normal = CVector3(1, 0, 0);
    plane.m_distance = -64.0f;
    t.ApplyFault(plane, 5.0f);
    EXPECT_EQ(t.m_target[65][10], 8.0f);
    EXPECT_EQ(t.m_target[64][10], 0.0f) << "a point on the plane goes down";
    EXPECT_EQ(t.m_target[0][10], 0.0f);
    EXPECT_EQ(t.m_target[128][10], 3.0f) << "the last row is not touched";
}

TEST_F(TerrainGrid, ZeroFaultsStillRecomputeAndMark) {
    t.m_height[30][30] = 1.0f;
    t.AddFaults(5.0f, 0);
    EXPECT_TRUE(AllTargetsAre(0.0f));
    EXPECT_TRUE(t.m_bDirty);
    EXPECT_LT(t.m_normals[31][30].y, 1.0f);
    EXPECT_EQ(std::rand(), 41) << "no draw was made";
}

TEST_F(TerrainGrid, AFaultUsesFourDraws) {
    t.AddFaults(1.0f, 1);
    for (int i = 0; i < 4; ++i) std::rand();
    std::srand(1);
    for (int i = 0; i < 4; ++i) std::rand();
    const int fifth = std::rand();
    std::srand(1);
    t.AddFaults(1.0f, 1);
    EXPECT_EQ(std::rand(), fifth);
}

TEST_F(TerrainGrid, RandomPlanePassesThroughItsPoint) {
    CPlane plane;
    const CVector3 p(12.5f, 0.0f, 40.25f);
    plane.SetRandomVerticalThrough(p);
    // Draws 41 and 18467: nz = 0.041 - 0.5, nx = 0.467 - 0.5, normalised.
    const float nz = 41 * 0.001f - 0.5f, nx = 467 * 0.001f - 0.5f, length = std::sqrt(nx * nx + nz * nz);
    EXPECT_NEAR(plane.m_normal.x, nx / length, 1e-5f);
    EXPECT_NEAR(plane.m_normal.z, nz / length, 1e-5f);
    EXPECT_EQ(plane.m_normal.y, 0.0f);
    EXPECT_NEAR(plane.SignedDistance(p), 0.0f, 1e-4f);
    EXPECT_NEAR(plane.SignedDistance(CVector3(p.x, 99.0f, p.z)), 0.0f, 1e-4f) << "vertical: y is ignored";
}

TEST_F(TerrainGrid, SmoothAveragesTheNeighbourhoodFromTheOldTargets) {
    SetTargets(3.7f);
    t.Smooth();
    EXPECT_TRUE(AllTargetsAre(3.7f)) << "an even terrain stays as it is, edges and corners included";

    SetTargets(0.0f);
    t.m_target[64][64] = 9.0f;
    t.m_target[0][20] = 6.0f;
    t.m_target[kLast][kLast] = 4.0f;
    t.Smooth();
    EXPECT_FLOAT_EQ(t.m_target[64][64], 1.0f);
    EXPECT_FLOAT_EQ(t.m_target[65][65], 1.0f);
    EXPECT_EQ(t.m_target[66][64], 0.0f);
    EXPECT_FLOAT_EQ(t.m_target[0][20], 1.0f);
    EXPECT_FLOAT_EQ(t.m_target[1][21], 6.0f / 9.0f);
    EXPECT_FLOAT_EQ(t.m_target[kLast][kLast], 1.0f);
    EXPECT_FLOAT_EQ(t.m_target[126][kLast], 4.0f / 6.0f);
    EXPECT_FLOAT_EQ(t.m_target[126][126], 4.0f / 9.0f);
    EXPECT_TRUE(EdgesAreZero(t.m_target));
    EXPECT_TRUE(t.m_bDirty);
}

TEST_F(TerrainGrid, NormaliseStretchesTheTargetsToTheMaximum) {
    SetTargets(2.0f);
    t.m_target[5][6] = 6.0f;
    t.m_target[7][8] = -2.0f;
    EXPECT_FLOAT_EQ(t.Normalise(10.0f, false), 8.0f);
    EXPECT_FALSE(t.m_bDirty) << "without rescale only the normalised grid changes";
    EXPECT_EQ(t.m_target[5][6], 6.0f);
    EXPECT_FLOAT_EQ(t.m_normalised[5][6], 1.0f);
    EXPECT_FLOAT_EQ(t.m_normalised[0][0], 0.5f);

    EXPECT_FLOAT_EQ(t.Normalise(10.0f, true), 8.0f);
    EXPECT_FLOAT_EQ(t.m_target[5][6], 10.0f);
    EXPECT_FLOAT_EQ(t.m_target[7][8], 0.0f);
    EXPECT_FLOAT_EQ(t.m_target[0][0], 5.0f);
    EXPECT_TRUE(t.m_bDirty);
}

TEST_F(TerrainGrid, NormalisingAFlatTerrainLeavesItAsItIs) {
    SetTargets(4.0f);
    t.m_normalised[3][3] = 0.25f;
    EXPECT_EQ(t.Normalise(10.0f, true), 0.0f);
    EXPECT_TRUE(AllTargetsAre(4.0f));
    EXPECT_EQ(t.m_normalised[3][3], 0.25f);
    for (int i = 0; i < 100; ++i) t.Morph(0.05f);
    EXPECT_FALSE(std::isnan(t.m_height[10][10]));
}

TEST_F(TerrainGrid, FlattenAndScaleLeaveTheFlag) {
    t.AddHill(30, 30, 5, 4);
    while (t.m_bDirty) t.Morph(0.05f);
    const float raised = t.m_height[30][30];
    t.Flatten();
    EXPECT_FALSE(t.m_bDirty);
    EXPECT_EQ(t.m_height[30][30], raised) << "nothing drawn changes yet";
    t.AddHill(90, 90, 5, 4);
    t.Morph(0.05f);
    EXPECT_LT(t.m_height[30][30], raised) << "the morph heads for the flat targets";
    EXPECT_GT(t.m_height[90][90], 0.0f);

    SetTargets(2.0f);
    t.m_bDirty = false;
    t.Scale(-0.5f);
    EXPECT_TRUE(AllTargetsAre(3.0f));
    EXPECT_FALSE(t.m_bDirty);
}

TEST_F(TerrainGrid, WavesAreFiniteAlongTheFirstColumn) {
    t.MakeWaves();
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) ASSERT_TRUE(std::isfinite(t.m_target[x][z])) << x << "," << z;
    EXPECT_NEAR(t.m_target[10][1], std::sin(12.0) * 1.0 + std::cos(1.0 + 10.0 / 0.9) * 0.1, 1e-5);
    EXPECT_NEAR(t.m_target[10][0], std::sin(12.0) * 1.0, 1e-5);
    EXPECT_TRUE(t.m_bDirty);
}

TEST_F(TerrainGrid, MorphByStepMovesTheFirstFarPointOfEachRow) {
    t.m_target[kLast][5] = 1.0f;
    t.m_target[100][5] = 1.0f;
    t.m_target[50][5] = 0.01f;
    t.MorphByStep(0.1f);
    EXPECT_FLOAT_EQ(t.m_height[kLast][5], 0.1f);
    EXPECT_EQ(t.m_height[100][5], 0.0f) << "the walk of this z ended";
    EXPECT_FALSE(t.m_bDirty);
}

TEST_F(TerrainGrid, ByteAndIntLoadersReadTransposedOrders) {
    std::vector<unsigned char> bytes(128 * 128, 0);
    std::vector<int> ints(128 * 128, 0);
    bytes[3 * 128 + 7] = 20;  // x 7, z 3
    ints[3 * 128 + 7] = 20;   // x 3, z 7
    t.LoadFromBytes(bytes.data(), 0.5f, false);
    EXPECT_EQ(t.m_target[7][3], 10.0f);
    EXPECT_TRUE(t.m_bDirty);
    t.LoadFromInts(ints.data(), 0.5f, true);
    EXPECT_EQ(t.m_target[3][7], 10.0f);
    EXPECT_EQ(t.m_target[7][3], 10.0f);
    t.LoadFromInts(nullptr, 1.0f, false);
    EXPECT_EQ(t.m_target[3][7], 10.0f);
}

TEST_F(TerrainGrid, QueriesByWorldPosition) {
    t.m_height[64][64] = 1.0f;
    t.m_height[65][64] = 3.0f;
    t.m_height[64][65] = 2.0f;
    t.m_height[65][65] = 4.0f;
    EXPECT_FLOAT_EQ(t.HeightAt(0.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(t.HeightAt(0.5f, 0.5f), 2.5f);
    EXPECT_FLOAT_EQ(t.HeightAt(0.25f, 0.0f), 1.5f);
    // Highest corner [65][65]: drops to [65][64], to the opposite [64][64], and to [64][65].
    const CVector3 d = t.HeightDifferencesAt(0.5f, 0.5f);
    EXPECT_EQ(d.x, 1.0f);
    EXPECT_EQ(d.y, 3.0f);
    EXPECT_EQ(d.z, 2.0f);
    EXPECT_TRUE(t.IsInside(63.9f, -63.9f));
    EXPECT_FALSE(t.IsInside(64.0f, 0.0f));
    EXPECT_FALSE(t.IsInside(0.0f, -64.0f));
    // Outside the grid the queries read nothing.
    EXPECT_EQ(t.HeightAt(64.0f, 0.0f), 0.0f);
    EXPECT_EQ(t.HeightAt(-65.0f, 0.0f), 0.0f);
    EXPECT_EQ(t.HeightDifferencesAt(0.0f, 1e9f).y, 0.0f);
    EXPECT_EQ(t.HeightAt(NAN, 0.0f), 0.0f);
}

}  // namespace
