#include "quaternion.h"

#include <cmath>

CQuaternion CQuaternion::operator*(const CQuaternion& r) const {
    return CQuaternion(w * r.x + x * r.w + y * r.z - z * r.y, w * r.y - x * r.z + y * r.w + z * r.x,
                       w * r.z + x * r.y - y * r.x + z * r.w, w * r.w - x * r.x - y * r.y - z * r.z);
}

CQuaternion CQuaternion::Conjugate() const { return CQuaternion(-x, -y, -z, w); }

void CQuaternion::SetFromAxisAngle(float angle, float ax, float ay, float az) {
    auto plain = [](float c) { return c == 0.0f || c == 1.0f; };
    if (!plain(ax) || !plain(ay) || !plain(az)) {
        const float length = static_cast<float>(std::sqrt(double(ax * ax + ay * ay + az * az)));
        ax /= length;
        ay /= length;
        az /= length;
    }
    const double radians = double(angle) * 3.14159265 / 180.0;
    const double half = radians / 2.0;
    const float s = static_cast<float>(std::sin(half));
    x = ax * s;
    y = ay * s;
    z = az * s;
    w = static_cast<float>(std::cos(half));
    const float length = static_cast<float>(std::sqrt(double(x * x + y * y + z * z + w * w)));
    if (length == 0.0f) return;
    x /= length;
    y /= length;
    z /= length;
    w /= length;
}
