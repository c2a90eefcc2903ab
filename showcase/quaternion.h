// The camera's quaternion: x, y, z (the vector part) and w, with the Hamilton product, the conjugate
// and the rotation about an axis by an angle in degrees.
#pragma once

class CQuaternion {
public:
    CQuaternion() : x(0.0f), y(0.0f), z(0.0f), w(1.0f) {}
    CQuaternion(float qx, float qy, float qz, float qw) : x(qx), y(qy), z(qz), w(qw) {}
    CQuaternion& operator=(const CQuaternion& other) = default;
    CQuaternion(const CQuaternion& other) = default;

    // The Hamilton product this * r.
    CQuaternion operator*(const CQuaternion& r) const;
    CQuaternion Conjugate() const;
    // The unit quaternion of a turn by angle degrees about (ax, ay, az). An axis made only of 0 and 1
    // components is used as given; any other is normalised first.
    void SetFromAxisAngle(float angle, float ax, float ay, float az);

    float x;
    float y;
    float z;
    float w;
};
