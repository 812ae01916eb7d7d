// ModelSketch: a game model as a list of solid parts (blocks, optionally
// tapered and turned, and many-sided prisms), each with a paint and
// optionally bound whole to one bone. Finishing the sketch lays every face
// out in one square texture atlas at one texel density (so nothing is
// stretched and no face shares texels with another) and builds the mesh
// with those texture coordinates. The painter (model_paint.h) then fills
// the atlas face by face, knowing where on the model each texel lies.
//
// Model space is the mesh's; sizes are world units. Build time only.
#pragma once

#include <string>
#include <vector>

#include "gen_shapes.h"
#include "resource_manager/mesh.h"

// What a part is painted as; the livery (model_paint.h) gives each its look.
enum class Paint {
    Hull,     // painted armour plates with panel lines
    Trim,     // armour carrying the livery's marking stripes
    Mark,     // solid marking colour
    Dark,     // bare dark metal, ribbed
    Glass,    // visors and windows
    Emitter,  // glowing lamps and sensors
    Hazard,   // warning stripes
    Facade,   // concrete walls with floors of windows
    Roof,     // concrete roof with vents
    Case,     // a pickup's case (livery's hull colour, bold border)
    Brass,    // shell casings
    Cross,    // a health cross: red with a white rim
    Pad,      // a landing pad: dark metal, glowing rings on its top
    Display,  // a dark screen with glowing read-outs
};

struct Part {
    enum Shape { Block, Prism } shape = Block;
    Vector centre;
    Vector half;             // half extents along the part's own axes; a prism's radius is half.x, length 2 * half.z
    Vector axes[3] = {Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)};
    float taperX = 1.0f;     // a block's top face (+y side) scaled by these; a prism's +z end by taperX
    float taperZ = 1.0f;
    // Side faces of one size in one share group share one atlas rectangle
    // (a crate's four sides, the floors of a tower); -1: none.
    int shareGroup = -1;
    bool sidesOnly = false;  // a block's top and bottom are left out (hidden between stacked blocks)
    float detail = 1.0f;     // texel density relative to the model's (a roof seen from afar: less)
    int mirrorOf = -1;       // set by Mirror: this part shows its source's texels, mirrored
    int sides = 8;           // a prism's sides
    Paint paint = Paint::Hull;
    int bone = kNoBone;
};

// One flat face of a part and its place in the atlas.
struct SketchFace {
    int part = 0;
    std::vector<Vector> corners;  // model space, counter-clockwise from outside
    Vector normal, right, up, origin;
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;  // extent in the face's own units (right, up)
    int x = 0, y = 0, w = 0, h = 0;        // atlas rectangle in texels, padding included
    int source = -1;  // the face whose rectangle this one shows (shared or mirrored); -1: its own
    bool turned = false;  // laid in the atlas a quarter turn round: its up runs along the rectangle's width
};

class ModelSketch {
public:
    explicit ModelSketch(std::string name) : name(std::move(name)) {}

    // A part made by hand (turned blocks).
    Part& Add(const Part& part);
    // A block centred on `centre`, half extents `half` along `axes`.
    Part& AddBlock(const Vector& centre, const Vector& half, Paint paint, int bone = kNoBone);
    // A prism of `sides` round the axis `axis` (unit), radius r, from
    // centre - axis * halfLength to centre + axis * halfLength.
    Part& AddPrism(const Vector& centre, const Vector& axis, float r, float halfLength, int sides, Paint paint,
                   int bone = kNoBone);
    // The part again, mirrored in x (left and right of a machine), on `bone`;
    // it shows the texels of `part`, which must be the sketch's last part.
    void Mirror(Part part, int bone);
    // A fresh share group for Part::shareGroup.
    int NewShareGroup() { return shareGroups++; }

    // Lays the faces out in an atlas of `atlasSize` texels square at the
    // highest density that fits, and builds the mesh.
    Mesh Finish(int atlasSize);
    // For a model drawn from one fixed eye without depth test (the cockpit):
    // only the faces turned towards `eye` are kept, farthest first, so that
    // nearer faces are drawn over farther ones.
    Mesh FinishForEye(int atlasSize, const Vector& eye);

    const std::vector<Part>& Parts() const { return parts; }
    const std::vector<SketchFace>& Faces() const { return faces; }
    int AtlasSize() const { return atlasSize; }
    float Density() const { return density; }  // texels per unit at detail 1
    static constexpr int kPad = 2;              // texels round each face

private:
    void AddFaces(int index);
    bool Pack(float tryDensity);
    Mesh Build(int size);

    std::string name;
    std::vector<Part> parts;
    std::vector<SketchFace> faces;
    int atlasSize = 0;
    float density = 0.0f;
    int shareGroups = 0;
};

// The unit vector turned from +y by `degrees` about x (positive towards +z).
Vector TiltedUp(float degrees);
