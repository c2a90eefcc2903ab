// The terrain's grids: construction, the generators, the morph toward the targets, the normals and
// the queries by world position.
#include <cmath>
#include <array>
#include <cstdlib>
#include <vector>

#include "terrain.h"

namespace {

constexpr int kWorkingPoints = kTerrainWorking * kTerrainWorking;

// trunc(v) held to 0..128, the bounds of a hill's box; NaN gives 0.
int BoxBound(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 128.0f) return 128;
    return static_cast<int>(v);
}

}  // namespace

CTerrain::CTerrain()
    : m_pVertexBuffer(nullptr), m_pIndexBuffer(nullptr), m_numVertices(kTerrainPoints * kTerrainPoints),
      m_numTriangles(2 * kTerrainWorking * kTerrainWorking), m_pGrassTexture(nullptr), m_pShadowTexture(nullptr),
      m_bDirty(false), m_cellSize(1.0f), m_gridSize(128.0f) {
    // Every grid starts defined: flat, upright normals, and the normalised heights at 0 (plain green).
    for (int x = 0; x < kTerrainPoints; ++x)
        for (int z = 0; z < kTerrainPoints; ++z) {
            m_normals[x][z] = CVector3(0.0f, 1.0f, 0.0f);
            m_height[x][z] = m_target[x][z] = m_normalised[x][z] = 0.0f;
        }
}

void CTerrain::Fill(float height) {
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) m_target[x][z] = height;
}

void CTerrain::Flatten() {
    Fill(0.0f);
    ComputeNormals();
}

void CTerrain::Morph(float rate) {
    if (!m_bDirty) return;
    int settled = 0;
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) {
            const float t = m_target[x][z];
            const float h = m_height[x][z];
            if (t - rate > h) {
                m_height[x][z] = h + rate * (t - h);
            } else if (t + rate < h) {
                m_height[x][z] = h - rate * (h - t);
            } else {
                m_height[x][z] = t;
                ++settled;
            }
        }
    if (settled < kWorkingPoints)
        ComputeNormals();
    else
        m_bDirty = false;
}

void CTerrain::MorphByStep(float step) {
    for (int z = kTerrainWorking - 1; z >= 0; --z)
        for (int x = kTerrainWorking - 1; x >= 0; --x) {
            const float t = m_target[x][z];
            float& h = m_height[x][z];
            if (t - step > h) {
                h += step;
                break;
            }
            if (t + step < h) {
                h -= step;
                break;
            }
            h = t;
        }
    ComputeNormals();
}

CVector3 CTerrain::RandomPoint() {
    const int z = std::rand();
    const int x = std::rand();
    return CVector3(static_cast<float>((x % 128000) * 0.01), 0.0f, static_cast<float>((z % 128000) * 0.01));
}

// Central differences over two cells inside, one-cell differences at the borders (forward at 0,
// backward at 127 and at the last row and column, which are computed like the rest).
CVector3 CTerrain::NormalAt(int x, int z) const {
    CVector3 a(2.0f, 0.0f, 0.0f), b(0.0f, 0.0f, 2.0f);
    if (x == 0) {
        a = CVector3(1.0f, m_height[1][z] - m_height[0][z], 0.0f);
    } else if (x >= kTerrainWorking - 1) {
        a = CVector3(1.0f, m_height[x][z] - m_height[x - 1][z], 0.0f);
    } else {
        a.y = m_height[x + 1][z] - m_height[x - 1][z];
    }
    if (z == 0) {
        b = CVector3(0.0f, m_height[x][1] - m_height[x][0], 1.0f);
    } else if (z >= kTerrainWorking - 1) {
        b = CVector3(0.0f, m_height[x][z] - m_height[x][z - 1], 1.0f);
    } else {
        b.y = m_height[x][z + 1] - m_height[x][z - 1];
    }
    CVector3 n = a.Cross(b);
    n.Normalize();
    return n * -1.0f;
}

void CTerrain::ComputeNormals() {
    for (int x = 0; x < kTerrainPoints; ++x)
        for (int z = 0; z < kTerrainPoints; ++z) m_normals[x][z] = NormalAt(x, z);
}

void CTerrain::AddNoise(float amplitude) {
    for (int z = kTerrainWorking - 1; z >= 0; --z)
        for (int x = kTerrainWorking - 1; x >= 0; --x)
            m_target[x][z] += static_cast<float>(((std::rand() % 1000) - amplitude * 0.5) * 0.001);
    ComputeNormals();
    m_bDirty = true;
}

void CTerrain::MakeWaves() {
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) {
            const double dx = x, dz = z;
            // z / (0.5 z) is 2 for every z but 0, where it is taken at that limit; the second term is
            // multiplied by 0.1 z and so is 0 there.
            const double first = std::sin(dx + (z == 0 ? 2.0 : dz / (0.5 * dz))) * (0.1 * dx);
            const double second = z == 0 ? 0.0 : std::cos(dz + dx / (0.9 * dz)) * (0.1 * dz);
            m_target[x][z] = static_cast<float>(first + second);
        }
    ComputeNormals();
    m_bDirty = true;
}

void CTerrain::AddRandomHill(float radius, float height) {
    const CVector3 p = RandomPoint();
    AddHill(p.x, p.z, radius, height);
}

void CTerrain::AddHill(float cx, float cz, float radius, float height) {
    const int x0 = BoxBound(std::trunc(cx - radius)), x1 = BoxBound(std::trunc(cx + radius));
    const int z0 = BoxBound(std::trunc(cz - radius)), z1 = BoxBound(std::trunc(cz + radius));
    const CVector3 centre(cx, 0.0f, cz);
    for (int z = z1 - 1; z >= z0; --z)
        for (int x = x1 - 1; x >= x0; --x) {
            const float d = centre.DistanceXZ(x, z);
            if (d < radius) m_target[x][z] += static_cast<float>(std::cos(d * 1.570796325 / radius) * height);
        }
    ComputeNormals();
    m_bDirty = true;
}

void CTerrain::Scale(float factor) {
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) m_target[x][z] = m_target[x][z] + std::fabs(factor) * m_target[x][z];
}

void CTerrain::Smooth() {
    constexpr int last = kTerrainWorking - 1;
    // Sums in double precision, so a terrain of equal heights stays exactly as it is.
    auto sum = [this](int xa, int xb, int za, int zb) {
        double s = 0.0;
        for (int x = xa; x <= xb; ++x)
            for (int z = za; z <= zb; ++z) s += m_target[x][z];
        return s;
    };
    std::vector<std::array<float, kTerrainPoints>> smoothed(kTerrainPoints);
    for (int x = 1; x < last; ++x)
        for (int z = 1; z < last; ++z) smoothed[x][z] = static_cast<float>(sum(x - 1, x + 1, z - 1, z + 1) * 1.0 / 9.0);
    for (int i = 1; i < last; ++i) {
        smoothed[0][i] = static_cast<float>(sum(0, 1, i - 1, i + 1) / 6.0);
        smoothed[last][i] = static_cast<float>(sum(last - 1, last, i - 1, i + 1) / 6.0);
        smoothed[i][0] = static_cast<float>(sum(i - 1, i + 1, 0, 1) / 6.0);
        smoothed[i][last] = static_cast<float>(sum(i - 1, i + 1, last - 1, last) / 6.0);
    }
    smoothed[0][0] = static_cast<float>(sum(0, 1, 0, 1) / 4.0);
    smoothed[last][0] = static_cast<float>(sum(last - 1, last, 0, 1) / 4.0);
    smoothed[last][last] = static_cast<float>(sum(last - 1, last, last - 1, last) / 4.0);
    smoothed[0][last] = static_cast<float>(sum(0, 1, last - 1, last) / 4.0);
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) m_target[x][z] = smoothed[x][z];
    ComputeNormals();
    m_bDirty = true;
}

void CTerrain::ApplyFault(const CPlane& plane, float amount) {
    for (int z = kTerrainWorking - 1; z >= 0; --z)
        for (int x = kTerrainWorking - 1; x >= 0; --x) {
            const float s = plane.SignedDistance(CVector3(float(x), m_height[x][z], float(z)));
            float& t = m_target[x][z];
            if (s > 0.0f) {
                t += amount;
            } else {
                t -= amount;
                if (t < 0.0f) t = 0.0f;
            }
        }
}

void CTerrain::AddFaults(float amount, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        const CVector3 p = RandomPoint();
        CPlane plane;
        plane.SetRandomVerticalThrough(p);
        ApplyFault(plane, amount);
    }
    ComputeNormals();
    m_bDirty = true;
}

float CTerrain::Normalise(float maximumHeight, bool rescale) {
    float low = m_target[0][0], high = m_target[0][0];
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) {
            if (m_target[x][z] > high) high = m_target[x][z];
            if (m_target[x][z] < low) low = m_target[x][z];
        }
    const float range = high - low;
    // A flat terrain has no range to map: 0/0 would fill both grids with NaN.
    if (range != 0.0f) {
        for (int x = 0; x < kTerrainWorking; ++x)
            for (int z = 0; z < kTerrainWorking; ++z) {
                m_normalised[x][z] = (m_target[x][z] - low) / range;
                if (rescale) m_target[x][z] = maximumHeight * m_normalised[x][z];
            }
    }
    if (rescale) {
        ComputeNormals();
        m_bDirty = true;
    }
    return range;
}

void CTerrain::LoadFromBytes(const unsigned char* data, float scale, bool add) {
    if (!data) return;
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) {
            const float v = scale * data[z * kTerrainWorking + x];
            m_target[x][z] = add ? m_target[x][z] + v : v;
        }
    ComputeNormals();
    m_bDirty = true;
}

void CTerrain::LoadFromInts(const int* data, float scale, bool add) {
    if (!data) return;
    for (int x = 0; x < kTerrainWorking; ++x)
        for (int z = 0; z < kTerrainWorking; ++z) {
            const float v = scale * static_cast<float>(data[x * kTerrainWorking + z]);
            m_target[x][z] = add ? m_target[x][z] + v : v;
        }
    ComputeNormals();
    m_bDirty = true;
}

bool CTerrain::CellAt(float x, float z, int& a, int& b, float& u, float& v) const {
    u = x / m_cellSize + 64.0f;
    v = z / m_cellSize + 64.0f;
    // The cell's far corners must lie in the grid too.
    if (!(u >= 0.0f && u < 128.0f && v >= 0.0f && v < 128.0f)) return false;
    a = static_cast<int>(u);
    b = static_cast<int>(v);
    return true;
}

float CTerrain::HeightAt(float x, float z) const {
    int a = 0, b = 0;
    float u = 0.0f, v = 0.0f;
    if (!CellAt(x, z, a, b, u, v)) return 0.0f;
    const float fu = u - float(a), fv = v - float(b);
    const float h0 = m_height[a][b] + (m_height[a + 1][b] - m_height[a][b]) * fu;
    const float h1 = m_height[a][b + 1] + (m_height[a + 1][b + 1] - m_height[a][b + 1]) * fu;
    return (h0 + (h1 - h0) * fv) * m_cellSize;
}

CVector3 CTerrain::HeightDifferencesAt(float x, float z) const {
    int a = 0, b = 0;
    float u = 0.0f, v = 0.0f;
    if (!CellAt(x, z, a, b, u, v)) return CVector3(0.0f, 0.0f, 0.0f);
    float m = m_height[a][b];
    int fa = 0, fb = 0;
    if (m_height[a + 1][b] > m) m = m_height[a + 1][b], fa = 1, fb = 0;
    if (m_height[a][b + 1] > m) m = m_height[a][b + 1], fa = 0, fb = 1;
    if (m_height[a + 1][b + 1] > m) m = m_height[a + 1][b + 1], fa = 1, fb = 1;
    return CVector3(m - m_height[a + fa][b], m - m_height[a + 1 - fa][b + 1 - fb], m - m_height[a][b + fb]);
}

bool CTerrain::IsInside(float x, float z) const {
    const float h = 128.0f * m_cellSize * 0.5f;
    return -h < x && x < h && -h < z && z < h;
}
