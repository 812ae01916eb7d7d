// Engine core math: Vector, Matrix, the geometric records, Quaternion and
// QuatVec, the scalar helpers and the conversions. Only what scripts use is
// declared here; Vector has no attributes on purpose (scripts read vectors
// through dot products, ToFloatArray or the records that hold them).
%{
#include "geom/geom.h"
%}

const int Matrix_DATA_SIZE = 64;

struct Vector {
    Vector();
    Vector(const float* p);
    Vector(const float* p, int n);
    Vector(float x, float y, float z);
    Vector(float x, float y, float z, float w);

    Vector operator+(const Vector& b) const;
    Vector operator-(const Vector& b) const;
    float operator*(const Vector& b) const;  // dot product
    Vector operator*(float k) const;
    float Mag() const;
    Vector Norm() const;
    void Normalize();
    void ToFloatArray(float* out) const;
};

struct Quaternion {
    Quaternion();
    Quaternion(float s);
    Quaternion(float s, const Vector& v);

    float Dot(const Quaternion& b) const;
    float Mag() const;
    Quaternion Norm() const;
    Quaternion Comp() const;
    Quaternion Inv() const;
    Quaternion Log() const;
    Quaternion Exp() const;
    Quaternion Pow(float t) const;
    Vector Rotate(const Vector& p) const;

    float s;
    Vector v;
};

struct QuatVec {
    QuatVec();
    QuatVec(const Quaternion& rot);
    QuatVec(const Quaternion& rot, const Vector& trans);

    void Identity();

    Quaternion rot;
    Vector trans;
};

struct Matrix {
    Matrix();
    Matrix(const Matrix& other);
    Matrix(const float* p);

    void Zero();
    void Identity();
    void FixedAngleRotation(float a, float b, float c);
    void PerspectiveMat(float fov, float aspect, float zNear, float zFar);
    void TranslateMat(float x, float y, float z);
    void SpecialOrthoInv();
    void Transpose();
    void NormLinearBasis();
    void RowFromVec(int i, const Vector& v);
    void ColFromVec(int i, const Vector& v);
    Vector VecFromRow(int i) const;
    Vector VecFromCol(int i) const;
    Matrix operator*(const Matrix& b) const;
    Vector operator*(const Vector& v) const;
    float Trace(int n = 4) const;
    float* DataPtr();

    float m[4][4];
};

struct Ray {
    Ray(const Vector& direction = Vector(), const Vector& origin = Vector());
    Vector Evaluate(float t) const;

    Vector direction;
    Vector origin;
};

struct Plane {
    Plane(const Vector& normal = Vector(), const Vector& origin = Vector());
    Plane(const Vector& a, const Vector& b, const Vector& c);
    float EvalImplicit(const Vector& p) const;

    Vector normal;
    Vector origin;
};

struct AABB {
    AABB(const Vector& center = Vector(), const Vector& extents = Vector());

    Vector center;
    Vector extents;
};

struct OBB {
    OBB(const Vector& center = Vector(), const Vector& extents = Vector(),
        const Quaternion& rot = Quaternion(1.0f));
    Matrix GetExtentsMatrix() const;
    std::vector<Vector> GetVerts() const;

    Vector center;
    Vector extents;
    Quaternion rot;
};

struct BoundingSphere {
    BoundingSphere();

    Vector center;
    float radius;
};

// The corners of OBB::GetVerts; a class of its own so the owned copy a script
// receives is freed by the collector.
%template(vector_Vector) std::vector<Vector>;

float RandFloat();
float SignFloat(float x);
float ClampFloat(float value, float min, float max);
bool RangeIntersect(float aMin, float aMax, float bMin, float bMax);

// flags is updated in place in C++; Lua numbers are values, so the updated
// flags come back as a second result after the function's own.
%typemap(in, checkfn="lua_isnumber") unsigned& flags (unsigned temp)
%{ SWIG_contract_assert((lua_tonumber(L, $input) >= 0), "number must not be negative");
   temp = (unsigned)lua_tonumber(L, $input);
   $1 = &temp; %}
%typemap(argout) unsigned& flags
%{ lua_pushnumber(L, (lua_Number)*$1); SWIG_arg++; %}
unsigned SetBit(unsigned& flags, unsigned n);
unsigned UnsetBit(unsigned& flags, unsigned n);
%clear unsigned& flags;
int CheckBit(unsigned flags, unsigned n);

Matrix QuaternionToMatrix(const Quaternion& q);
Matrix QuatVecToMatrix(const QuatVec& qv);
Matrix QuatVecToMatrix(const Quaternion& rot, const Vector& trans);
Matrix InvQuatVecToMatrix(const QuatVec& qv);
Matrix InvQuatVecToMatrix(const Quaternion& rot, const Vector& trans);
QuatVec MatrixToQuatVec(const Matrix& m);
Quaternion Slerp(const Quaternion& a, const Quaternion& b, double t);
