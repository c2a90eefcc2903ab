#include "vector3.h"

#include <cmath>

CVector3 CVector3::operator+(CVector3 o) const { return CVector3(x + o.x, y + o.y, z + o.z); }

CVector3 CVector3::Add(CVector3 o) const { return *this + o; }

CVector3 CVector3::operator+=(CVector3 o) {
    *this = *this + o;
    return *this;
}

CVector3 CVector3::operator-(CVector3 o) const { return CVector3(x - o.x, y - o.y, z - o.z); }

CVector3 CVector3::operator-=(CVector3 o) {
    *this = *this - o;
    return *this;
}

CVector3 CVector3::MultiplyComponents(CVector3 o) const { return CVector3(x * o.x, y * o.y, z * o.z); }

CVector3 CVector3::DivideComponents(CVector3 o) const { return CVector3(x / o.x, y / o.y, z / o.z); }

CVector3 CVector3::operator*(float f) const { return CVector3(x * f, y * f, z * f); }

CVector3 CVector3::operator*=(float f) {
    Scale(f);
    return *this;
}

void CVector3::Scale(float f) {
    x *= f;
    y *= f;
    z *= f;
}

CVector3 CVector3::operator/(float d) const { return CVector3(x / d, y / d, z / d); }

CVector3 CVector3::Divide(float d) const { return *this / d; }

CVector3 CVector3::Uniform(float value) const { return CVector3(value, value, value); }

float CVector3::Length() const { return static_cast<float>(std::sqrt(double(x * x + y * y + z * z))); }

void CVector3::Normalize() {
    const float length = Length();
    // A zero vector has no direction; dividing would turn it into NaNs.
    if (length == 0.0f) return;
    Scale(static_cast<float>(1.0 / length));
}

float CVector3::Dot(const CVector3& o) const { return x * o.x + y * o.y + z * o.z; }

CVector3 CVector3::Cross(const CVector3& o) const {
    return CVector3(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
}

CVector3 CVector3::Lerp(const CVector3& target, float t) const {
    return CVector3(x + (target.x - x) * t, y + (target.y - y) * t, z + (target.z - z) * t);
}

float CVector3::DistanceXZ(int px, int pz) const {
    const float dx = x - static_cast<float>(px);
    const float dz = z - static_cast<float>(pz);
    return static_cast<float>(std::sqrt(double(dx * dx + dz * dz)));
}
