#include "plane.h"

#include <cstdlib>

namespace {

// (r mod 1000) * 0.001 - 0.5 with the single-precision constant, worked out in double precision, so
// that 500 gives about 2.4e-8 rather than 0 and the normal is never the zero vector.
float LatticeComponent(int draw) {
    return static_cast<float>((draw % 1000) * static_cast<double>(0.001f) - 0.5);
}

}  // namespace

CPlane& CPlane::SetRandomVerticalThrough(const CVector3& point) {
    const int first = std::rand();
    const int second = std::rand();
    m_normal = CVector3(LatticeComponent(second), 0.0f, LatticeComponent(first));
    m_normal.Normalize();
    m_distance = -m_normal.Dot(point);
    return *this;
}

float CPlane::SignedDistance(const CVector3& point) const { return point.Dot(m_normal) + m_distance; }
