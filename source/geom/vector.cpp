#include "geom/vector.h"

#include <cmath>
#include <iomanip>

Vector::Vector() : x(0.0f), y(0.0f), z(0.0f), w(0.0f) {}

Vector::Vector(float x_, float y_, float z_) : x(x_), y(y_), z(z_), w(0.0f) {}

Vector::Vector(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

Vector::Vector(const float* p) : Vector() {
    if (p) {
        x = p[0];
        y = p[1];
        z = p[2];
    }
}

Vector::Vector(const float* p, int n) : Vector() {
    if (!p) return;
    if (n > 4) n = 4;
    for (int i = 0; i < n; ++i) (*this)[i] = p[i];
}

void Vector::Set(float x_, float y_, float z_, float w_) {
    x = x_;
    y = y_;
    z = z_;
    w = w_;
}

float Vector::operator[](int i) const {
    switch (i) {
        case 0: return x;
        case 1: return y;
        case 2: return z;
        case 3: return w;
        default: return 0.0f;
    }
}

float& Vector::operator[](int i) {
    switch (i) {
        case 0: return x;
        case 1: return y;
        case 2: return z;
        case 3: return w;
        default: {
            // A bad index from a script must not reach the neighbouring
            // memory; it gets a per-thread scratch float that reads as 0.
            thread_local float scratch;
            scratch = 0.0f;
            return scratch;
        }
    }
}

float Vector::operator*(const Vector& b) const { return x * b.x + y * b.y + z * b.z; }

Vector Vector::operator*(float k) const { return Vector(k * x, k * y, k * z, k * w); }

Vector Vector::operator+(const Vector& b) const {
    return Vector(x + b.x, y + b.y, z + b.z, w + b.w);
}

Vector Vector::operator-(const Vector& b) const {
    return Vector(x - b.x, y - b.y, z - b.z, w - b.w);
}

float Vector::Mag() const { return std::sqrt(x * x + y * y + z * z + w * w); }

void Vector::Normalize() {
    const float mag = Mag();
    // A zero vector has no direction; leaving it zero keeps not-a-number out
    // of positions and normals downstream.
    if (mag == 0.0f) return;
    const float inv = 1.0f / mag;
    x *= inv;
    y *= inv;
    z *= inv;
    w *= inv;
}

Vector Vector::Norm() const {
    Vector copy(*this);
    copy.Normalize();
    return copy;
}

void Vector::ToFloatArray(float* out) const {
    out[0] = x;
    out[1] = y;
    out[2] = z;
    out[3] = w;
}

Vector Cross(const Vector& a, const Vector& b) {
    return Vector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0f);
}

std::ostream& operator<<(std::ostream& out, const Vector& v) {
    out << std::fixed << std::showpos << std::setprecision(4);
    out << v.x << ' ' << v.y << ' ' << v.z << ' ' << v.w << ' ' << '\n';
    return out;
}
