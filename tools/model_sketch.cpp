#include "model_sketch.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "mesh_builder.h"

namespace {

const float kPi = 3.14159265f;
const float kWhite[3] = {1.0f, 1.0f, 1.0f};

Vector Unit(const Vector& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0.0f ? Vector(v.x / length, v.y / length, v.z / length) : Vector();
}

Vector Local(const Part& part, float x, float y, float z) {
    return part.centre + part.axes[0] * x + part.axes[1] * y + part.axes[2] * z;
}

// The eight corners of a block: index bit 0 is +x, bit 1 +y, bit 2 +z.
std::array<Vector, 8> BlockCorners(const Part& part) {
    std::array<Vector, 8> corners;
    for (int i = 0; i < 8; ++i) {
        const float sx = i & 1 ? 1.0f : -1.0f, sy = i & 2 ? 1.0f : -1.0f, sz = i & 4 ? 1.0f : -1.0f;
        const float kx = sy > 0.0f ? part.taperX : 1.0f, kz = sy > 0.0f ? part.taperZ : 1.0f;
        corners[size_t(i)] = Local(part, sx * part.half.x * kx, sy * part.half.y, sz * part.half.z * kz);
    }
    return corners;
}

std::vector<std::vector<Vector>> BlockFaces(const Part& part) {
    const std::array<Vector, 8> c = BlockCorners(part);
    // +x, -x, +y, -y, +z, -z in the part's own axes.
    const int quads[6][4] = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3}, {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}};
    std::vector<std::vector<Vector>> faces;
    for (int k = 0; k < 6; ++k) {
        if (part.sidesOnly && (k == 2 || k == 3)) continue;
        const auto& q = quads[k];
        faces.push_back({c[size_t(q[0])], c[size_t(q[1])], c[size_t(q[2])], c[size_t(q[3])]});
    }
    return faces;
}

std::vector<std::vector<Vector>> PrismFaces(const Part& part) {
    std::vector<Vector> ring[2];
    for (int i = 0; i < part.sides; ++i) {
        const float angle = 2.0f * kPi * (float(i) + 0.5f) / float(part.sides);
        for (int end = 0; end < 2; ++end) {
            const float r = part.half.x * (end ? part.taperX : 1.0f);
            ring[end].push_back(Local(part, r * std::cos(angle), r * std::sin(angle), end ? part.half.z : -part.half.z));
        }
    }
    std::vector<std::vector<Vector>> faces = {ring[1], std::vector<Vector>(ring[0].rbegin(), ring[0].rend())};
    for (int i = 0; i < part.sides; ++i) {
        const size_t a = size_t(i), b = size_t((i + 1) % part.sides);
        faces.push_back({ring[0][a], ring[0][b], ring[1][b], ring[1][a]});
    }
    return faces;
}

// Faces come out with their corners in some turning; make it counter-
// clockwise seen from outside the part.
void FaceOutwards(std::vector<Vector>& corners, const Vector& partCentre) {
    Vector centre;
    for (const Vector& c : corners) centre = centre + c * (1.0f / float(corners.size()));
    const Vector normal = Cross(corners[1] - corners[0], corners[2] - corners[0]);
    if (normal * (centre - partCentre) < 0.0f) std::reverse(corners.begin(), corners.end());
}

SketchFace MakeFace(int part, std::vector<Vector> corners) {
    SketchFace face;
    face.part = part;
    face.corners = std::move(corners);
    for (const Vector& c : face.corners) face.origin = face.origin + c * (1.0f / float(face.corners.size()));
    // Newell's normal: robust for any planar polygon.
    Vector n;
    for (size_t i = 0; i < face.corners.size(); ++i) n = n + Cross(face.corners[i], face.corners[(i + 1) % face.corners.size()]);
    face.normal = Unit(n);
    // "Up" is the model's up laid into the face; top and bottom faces take
    // the model's -z and +z, as the box faces always have.
    Vector up = Vector(0, 1, 0) - face.normal * face.normal.y;
    if (std::fabs(face.normal.y) > 0.98f) up = Vector(0, 0, face.normal.y > 0.0f ? -1.0f : 1.0f);
    face.up = Unit(up);
    face.right = Unit(Cross(face.up, face.normal));
    face.u0 = face.v0 = 1e9f;
    face.u1 = face.v1 = -1e9f;
    for (const Vector& c : face.corners) {
        const float u = (c - face.origin) * face.right, v = (c - face.origin) * face.up;
        face.u0 = std::min(face.u0, u), face.u1 = std::max(face.u1, u);
        face.v0 = std::min(face.v0, v), face.v1 = std::max(face.v1, v);
    }
    return face;
}

Vector MirrorX(const Vector& v) { return Vector(-v.x, v.y, v.z); }

// Whether the point lies inside the part or on its surface.
bool Encloses(const Part& part, const Vector& point) {
    const float eps = 1e-3f;
    const Vector rel = point - part.centre;
    const float x = rel * part.axes[0], y = rel * part.axes[1], z = rel * part.axes[2];
    if (part.shape == Part::Prism) {
        const float along = std::clamp((z / part.half.z + 1.0f) * 0.5f, 0.0f, 1.0f);
        const float r = part.half.x * (1.0f + (part.taperX - 1.0f) * along) * std::cos(kPi / float(part.sides));
        return std::fabs(z) <= part.half.z + eps && std::hypot(x, y) <= r + eps;
    }
    const float up = std::clamp((y / part.half.y + 1.0f) * 0.5f, 0.0f, 1.0f);
    return std::fabs(y) <= part.half.y + eps && std::fabs(x) <= part.half.x * (1.0f + (part.taperX - 1.0f) * up) + eps &&
           std::fabs(z) <= part.half.z * (1.0f + (part.taperZ - 1.0f) * up) + eps;
}

// A face buried in another part (all its corners and its centre inside
// that part) can never be seen.
bool Buried(const SketchFace& f, const std::vector<Part>& parts) {
    for (size_t k = 0; k < parts.size(); ++k) {
        if (int(k) == f.part || !Encloses(parts[k], f.origin)) continue;
        bool all = true;
        for (const Vector& c : f.corners) all = all && Encloses(parts[k], c);
        if (all) return true;
    }
    return false;
}

}  // namespace

Vector TiltedUp(float degrees) {
    const float a = degrees * kPi / 180.0f;
    return Vector(0.0f, std::cos(a), std::sin(a));
}

Part& ModelSketch::Add(const Part& part) {
    parts.push_back(part);
    return parts.back();
}

Part& ModelSketch::AddBlock(const Vector& centre, const Vector& half, Paint paint, int bone) {
    Part part;
    part.centre = centre;
    part.half = half;
    part.paint = paint;
    part.bone = bone;
    parts.push_back(part);
    return parts.back();
}

Part& ModelSketch::AddPrism(const Vector& centre, const Vector& axis, float r, float halfLength, int sides, Paint paint,
                            int bone) {
    Part& part = AddBlock(centre, Vector(r, r, halfLength), paint, bone);
    part.shape = Part::Prism;
    part.sides = sides;
    part.axes[2] = Unit(axis);
    const Vector helper = std::fabs(part.axes[2].y) > 0.9f ? Vector(1, 0, 0) : Vector(0, 1, 0);
    part.axes[0] = Unit(Cross(helper, part.axes[2]));
    part.axes[1] = Cross(part.axes[2], part.axes[0]);
    return part;
}

void ModelSketch::Mirror(Part part, int bone) {
    part.mirrorOf = int(parts.size()) - 1;
    part.centre.x = -part.centre.x;
    part.bone = bone;
    // Mirroring flips x of every axis; turning the first axis round again
    // keeps the frame right-handed (a block is symmetric about its axes).
    for (Vector& axis : part.axes) axis.x = -axis.x;
    part.axes[0] = part.axes[0] * -1.0f;
    parts.push_back(part);
}

void ModelSketch::AddFaces(int index) {
    const Part& part = parts[size_t(index)];
    for (std::vector<Vector> corners : part.shape == Part::Block ? BlockFaces(part) : PrismFaces(part)) {
        FaceOutwards(corners, part.centre);
        SketchFace face = MakeFace(index, std::move(corners));
        if (!Buried(face, parts)) faces.push_back(std::move(face));
    }
}

// The earlier face whose rectangle this face shows: the face it mirrors,
// or a side face of its share group of the same size; -1 when none.
int SourceOf(const std::vector<SketchFace>& faces, const std::vector<Part>& parts, size_t i) {
    const SketchFace& f = faces[i];
    const Part& part = parts[size_t(f.part)];
    for (size_t k = 0; k < i; ++k) {
        const SketchFace& o = faces[k];
        if (part.mirrorOf >= 0) {
            const Vector d = MirrorX(f.origin) - o.origin, n = MirrorX(f.normal) - o.normal;
            if (o.part == part.mirrorOf && d * d < 1e-6f && n * n < 1e-6f) return o.source >= 0 ? o.source : int(k);
            continue;
        }
        const int group = part.shareGroup;
        if (group < 0 || std::fabs(f.normal.y) > 0.5f || parts[size_t(o.part)].shareGroup != group || std::fabs(o.normal.y) > 0.5f)
            continue;
        if (std::fabs((o.u1 - o.u0) - (f.u1 - f.u0)) < 1e-3f && std::fabs((o.v1 - o.v0) - (f.v1 - f.v0)) < 1e-3f)
            return o.source >= 0 ? o.source : int(k);
    }
    return -1;
}

// Shelf packing, tallest faces first; false when the faces do not fit.
bool ModelSketch::Pack(float tryDensity) {
    std::vector<size_t> order;
    for (size_t i = 0; i < faces.size(); ++i) {
        SketchFace& f = faces[i];
        const float detail = parts[size_t(f.part)].detail;
        f.w = int(std::ceil((f.u1 - f.u0) * tryDensity * detail)) + 2 * kPad;
        f.h = int(std::ceil((f.v1 - f.v0) * tryDensity * detail)) + 2 * kPad;
        // Tall, narrow faces (pillars, legs) lie on their side: shelves of
        // equal height waste little.
        f.turned = f.h > 2 * f.w;
        if (f.turned) std::swap(f.w, f.h);
        if (f.source < 0) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return faces[a].h > faces[b].h; });
    int x = 0, y = 0, shelf = 0;
    for (size_t i : order) {
        SketchFace& f = faces[i];
        if (x + f.w > atlasSize) x = 0, y += shelf, shelf = 0;
        if (f.w > atlasSize || y + f.h > atlasSize) return false;
        f.x = x, f.y = y;
        x += f.w;
        shelf = std::max(shelf, f.h);
    }
    for (SketchFace& f : faces)
        if (f.source >= 0) {
            const SketchFace& o = faces[size_t(f.source)];
            f.x = o.x, f.y = o.y, f.w = o.w, f.h = o.h, f.turned = o.turned;
        }
    return true;
}

Mesh ModelSketch::Finish(int size) {
    atlasSize = size;
    faces.clear();
    for (size_t i = 0; i < parts.size(); ++i) AddFaces(int(i));
    return Build(size);
}

Mesh ModelSketch::FinishForEye(int size, const Vector& eye) {
    atlasSize = size;
    faces.clear();
    for (size_t i = 0; i < parts.size(); ++i) AddFaces(int(i));
    faces.erase(std::remove_if(faces.begin(), faces.end(),
                               [&](const SketchFace& f) { return f.normal * (eye - f.origin) <= 1e-3f; }),
                faces.end());
    auto distance = [&](const SketchFace& f) { return (f.origin - eye) * (f.origin - eye); };
    std::stable_sort(faces.begin(), faces.end(), [&](const SketchFace& a, const SketchFace& b) { return distance(a) > distance(b); });
    return Build(size);
}

Mesh ModelSketch::Build(int size) {
    for (size_t i = 0; i < faces.size(); ++i) faces[i].source = SourceOf(faces, parts, i);
    density = float(size);
    while (!Pack(density)) density *= 0.97f;
    MeshBuilder builder(name);
    for (const SketchFace& f : faces) {
        // A mirrored face maps each corner where its mirror image lies on
        // the source face; a shared face maps like the source, being its size.
        const SketchFace& o = f.source >= 0 ? faces[size_t(f.source)] : f;
        const bool mirrored = parts[size_t(f.part)].mirrorOf >= 0;
        const float d = density * parts[size_t(o.part)].detail;
        std::vector<std::array<float, 2>> uvs;
        for (const Vector& corner : f.corners) {
            const Vector c = mirrored ? MirrorX(corner) : corner;
            const SketchFace& frame = mirrored ? o : f;
            const float u = (c - frame.origin) * frame.right - frame.u0, v = frame.v1 - (c - frame.origin) * frame.up;
            // The face's top edge lies along the top rows of its rectangle.
            // A turned face runs its up along the rectangle's width.
            const float across = o.turned ? v : u, down = o.turned ? u : v;
            uvs.push_back({(float(o.x + kPad) + across * d) / float(size), (float(o.y + kPad) + down * d) / float(size)});
        }
        const int bone = parts[size_t(f.part)].bone;
        MeshBuilder::Skinner skin = nullptr;
        if (bone != kNoBone)
            skin = [bone](Vertex& vertex) {
                vertex.boneIndex[0] = bone;
                vertex.skinWeights[0] = 1.0f;
                vertex.numWeights = 1;
            };
        builder.Polygon(f.corners, f.normal, uvs, kWhite, skin);
    }
    return builder.Finish();
}
