// A vertical plane for the terrain's fault generator: a unit normal and the plane constant.
#pragma once

#include "vector3.h"

class CPlane {
public:
    // Two draws of the runtime's generator give the normal's z, then its x (each in [-0.5, 0.499]);
    // the plane then passes through the point.
    CPlane& SetRandomVerticalThrough(const CVector3& point);
    // dot(point, normal) + distance.
    float SignedDistance(const CVector3& point) const;

    CVector3 m_normal;
    float m_distance = 0.0f;
};
