// Vector: the engine's four-float value type (x, y, z, w).
//
// Which operations touch w matters: the dot product ignores it and Cross sets
// it to 0, while sum, difference, scaling and the length (Mag, Normalize,
// Norm) use all four components. The three-float constructors give w = 0.
//
// A plain value: no heap, no shared state, safe on any thread.
#pragma once

#include <ostream>

struct Vector {
    float x;
    float y;
    float z;
    float w;

    Vector();
    Vector(float x, float y, float z);
    Vector(float x, float y, float z, float w);
    // (p[0], p[1], p[2], 0). A null pointer gives the zero vector.
    explicit Vector(const float* p);
    // Zero, then the first n floats of p (n is clamped to 0..4; null p reads nothing).
    Vector(const float* p, int n);

    void Set(float x, float y, float z, float w);

    // Component i (0 = x .. 3 = w). An index outside 0..3, which a script can
    // pass, reads 0 and a write through it lands in a scratch float, never in
    // memory beside the vector.
    float operator[](int i) const;
    float& operator[](int i);

    // Dot product over x, y, z only.
    float operator*(const Vector& b) const;
    // Scaling, sum and difference over all four components.
    Vector operator*(float k) const;
    Vector operator+(const Vector& b) const;
    Vector operator-(const Vector& b) const;

    // Length over all four components.
    float Mag() const;
    // In place: every component divided by Mag(). A zero vector stays zero
    // instead of turning into not-a-number.
    void Normalize();
    // A copy normalised like Normalize.
    Vector Norm() const;

    // Writes x, y, z, w to out[0..3]; out must hold four floats.
    void ToFloatArray(float* out) const;
};

// Cross product of the x, y, z parts; w of the result is 0.
Vector Cross(const Vector& a, const Vector& b);

// Sets fixed, showpos and precision 4 on the stream (they stay set), writes
// the four components each followed by a blank, then a newline.
std::ostream& operator<<(std::ostream& out, const Vector& v);
