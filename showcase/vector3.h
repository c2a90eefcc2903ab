// The showcase's own three-float vector: arithmetic, length, normalisation, dot and cross products,
// interpolation and a distance in the ground plane. The terrain, the squares and the mesh objects
// keep their points and directions in it.
#pragma once

class CVector3 {
public:
    CVector3() : x(0.0f), y(0.0f), z(0.0f) {}
    CVector3(float vx, float vy, float vz) : x(vx), y(vy), z(vz) {}

    CVector3 operator+(CVector3 other) const;
    CVector3 Add(CVector3 other) const;
    // The in-place operators answer a copy of the new value, not a reference to the object.
    CVector3 operator+=(CVector3 other);
    CVector3 operator-(CVector3 other) const;
    CVector3 operator-=(CVector3 other);
    CVector3 MultiplyComponents(CVector3 other) const;
    CVector3 DivideComponents(CVector3 other) const;
    CVector3 operator*(float factor) const;
    CVector3 operator*=(float factor);
    void Scale(float factor);
    CVector3 operator/(float divisor) const;
    CVector3 Divide(float divisor) const;
    // (value, value, value); the object itself is not read.
    CVector3 Uniform(float value) const;

    // The square root is taken in double precision.
    float Length() const;
    // Scales to unit length in place; the zero vector stays as it is.
    void Normalize();
    float Dot(const CVector3& other) const;
    CVector3 Cross(const CVector3& other) const;
    CVector3 Lerp(const CVector3& target, float t) const;
    // Distance to the integer ground point (x, z); y is ignored.
    float DistanceXZ(int px, int pz) const;

    float x;
    float y;
    float z;
};
