// RigidBodyState: one simulated body of the physics thread, copied from its
// object at the start of a pass and written back as the change of the pass.
// BodyIndex: the two-way index between object numbers and places in the
// body array.
//
// Threads: the physics thread only (and Physics::Kill at shutdown); no lock.
#pragma once

#include <boost/multi_index/hashed_index.hpp>
#include <boost/multi_index/member.hpp>
#include <boost/multi_index/ordered_index.hpp>
#include <boost/multi_index_container.hpp>

#include "geom/geom.h"

struct RigidBodyState {
    float mass = 0.0f;
    Quaternion orientation;
    Vector position;
    Vector angularVel;
    Vector linearVel;
    // The four above as gathered this pass: the write-back adds the difference.
    Quaternion prevOrientation;
    Vector prevPosition;
    Vector prevAngularVel;
    Vector prevLinearVel;
    float invMass = 0.0f;  // 0 when the body cannot be accelerated
    bool infMass = false;
    Vector forceAccum;     // the sum of this pass's forces
    Vector torqueAccum;    // the sum of this pass's torques

    // One semi-implicit Euler step of dt seconds with damping coefficient c:
    // velocities from the accumulated force and torque, then the position and
    // the orientation from the new velocities. The orientation is left
    // unnormalised (Physics::NormalizeOrientations follows).
    void Integrate(float c, double dt);
};

// The unit copy of q; the zero (or a not finite) quaternion becomes the
// identity instead of staying zero.
Quaternion UnitOrIdentity(const Quaternion& q);

// A pair of the body index: object number and place in the body array.
struct BodyIndexEntry {
    unsigned objNum;
    unsigned index;
};

struct ByObjNum {};
struct ByBodyIndex {};
struct ByObjNumHashed {};

// Unique and ordered on each member, plus a hashed view of the object
// numbers for the look-ups of every contact and force. The places in use are
// always exactly 0 .. size - 1.
using BodyIndex = boost::multi_index_container<
    BodyIndexEntry,
    boost::multi_index::indexed_by<
        boost::multi_index::ordered_unique<boost::multi_index::tag<ByObjNum>,
                                           boost::multi_index::member<BodyIndexEntry, unsigned, &BodyIndexEntry::objNum>>,
        boost::multi_index::ordered_unique<boost::multi_index::tag<ByBodyIndex>,
                                           boost::multi_index::member<BodyIndexEntry, unsigned, &BodyIndexEntry::index>>,
        boost::multi_index::hashed_unique<boost::multi_index::tag<ByObjNumHashed>,
                                          boost::multi_index::member<BodyIndexEntry, unsigned, &BodyIndexEntry::objNum>>>>;
