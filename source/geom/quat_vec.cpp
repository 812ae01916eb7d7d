#include "geom/quaternion.h"

QuatVec::QuatVec() : rot(1.0f), trans() {}

QuatVec::QuatVec(const Quaternion& rot_) : rot(rot_), trans() {}

QuatVec::QuatVec(const Quaternion& rot_, const Vector& trans_) : rot(rot_), trans(trans_) {}

void QuatVec::Identity() {
    rot = Quaternion(1.0f);
    trans = Vector();
}

QuatVec QuatVec::operator*(const QuatVec& b) const {
    return QuatVec(rot * b.rot, trans + rot.Rotate(b.trans));
}

Vector QuatVec::operator*(const Vector& p) const { return rot.Rotate(p) + trans; }

QuatVec QuatVec::Inv() const {
    const Quaternion conj = rot.Comp();
    return QuatVec(conj, conj.Rotate(trans) * -1.0f);
}
