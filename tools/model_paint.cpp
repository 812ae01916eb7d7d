#include "model_paint.h"

#include <algorithm>
#include <cmath>

#include "paint.h"
#include "palette.h"

namespace {

const int kRays = 14;

float Fract(float x) { return x - std::floor(x); }

// Distance from x to the nearest multiple of `period` shifted by `offset`.
float ToLine(float x, float period, float offset) { return std::fabs(Fract((x - offset) / period + 0.5f) - 0.5f) * period; }

// Cosine-weighted directions over the hemisphere round +z (a Fibonacci
// spiral: even, and the same on every run).
std::vector<Vector> HemisphereRays() {
    std::vector<Vector> rays;
    for (int i = 0; i < kRays; ++i) {
        const float r = std::sqrt((float(i) + 0.5f) / float(kRays)), phi = float(i) * 2.3999632f;
        rays.push_back(Vector(r * std::cos(phi), r * std::sin(phi), std::sqrt(std::max(0.0f, 1.0f - r * r))));
    }
    return rays;
}

// Where the ray (origin o, unit direction d) enters the part's box, or a
// negative value when it misses within `reach`. A ray starting inside is
// taken as blocked at once: such texels lie inside another part, unseen.
float Hit(const Part& part, const Vector& o, const Vector& d, float reach) {
    const float half[3] = {part.half.x * std::max(1.0f, part.taperX), part.half.y, part.half.z * std::max(1.0f, part.taperZ)};
    const Vector rel = o - part.centre;
    float near = -1e9f, far = 1e9f;
    for (int k = 0; k < 3; ++k) {
        const float origin = rel * part.axes[k], dir = d * part.axes[k];
        if (std::fabs(dir) < 1e-6f) {
            if (std::fabs(origin) > half[k]) return -1.0f;
            continue;
        }
        float t0 = (-half[k] - origin) / dir, t1 = (half[k] - origin) / dir;
        if (t0 > t1) std::swap(t0, t1);
        near = std::max(near, t0), far = std::min(far, t1);
        if (near > far) return -1.0f;
    }
    if (far < 0.0f || near > reach) return -1.0f;
    return std::max(near, 0.0f);
}

float PartRadius(const Part& part) {
    return std::sqrt(part.half.x * part.half.x * std::max(1.0f, part.taperX * part.taperX) + part.half.y * part.half.y +
                     part.half.z * part.half.z * std::max(1.0f, part.taperZ * part.taperZ));
}

// The model point under atlas texel (tx, ty) of a face, kept on the face
// (padding texels repeat the edge).
void FacePoint(const SketchFace& f, float density, int tx, int ty, float& u, float& v) {
    // `density` already includes the part's detail; a turned face runs its
    // up along the rectangle's width (see ModelSketch::Build).
    const float across = (float(tx - f.x - ModelSketch::kPad) + 0.5f) / density;
    const float down = (float(ty - f.y - ModelSketch::kPad) + 0.5f) / density;
    u = std::clamp(f.u0 + (f.turned ? down : across), f.u0, f.u1);
    v = std::clamp(f.v1 - (f.turned ? across : down), f.v0, f.v1);
}

// The parts that can shade a face: those within reach of it, itself left out.
std::vector<const Part*> Neighbours(const ModelSketch& sketch, const SketchFace& f, float reach) {
    float faceRadius = 0.0f;
    for (const Vector& c : f.corners) faceRadius = std::max(faceRadius, std::sqrt((c - f.origin) * (c - f.origin)));
    std::vector<const Part*> near;
    for (size_t k = 0; k < sketch.Parts().size(); ++k) {
        const Part& part = sketch.Parts()[k];
        const Vector to = part.centre - f.origin;
        if (int(k) != f.part && std::sqrt(to * to) < PartRadius(part) + faceRadius + reach) near.push_back(&part);
    }
    return near;
}

float OpenSky(const std::vector<const Part*>& near, const Vector& p, const SketchFace& f,
              const std::vector<Vector>& rays, float reach, bool ground) {
    const Vector origin = p + f.normal * 0.02f;
    float blocked = 0.0f;
    for (const Vector& r : rays) {
        const Vector d = f.right * r.x + f.up * r.y + f.normal * r.z;
        float nearest = reach;
        if (ground && d.y < -1e-4f) nearest = std::min(nearest, std::max(0.0f, -origin.y / d.y));
        for (const Part* part : near) {
            const float t = Hit(*part, origin, d, nearest);
            if (t >= 0.0f) nearest = std::min(nearest, t);
        }
        blocked += 1.0f - nearest / reach;
    }
    return 1.0f - blocked / float(rays.size());
}

// ---- Painting ---------------------------------------------------------------

struct Texel {
    const SketchFace* face;
    const Part* part;
    int index;      // of the part
    float u, v;     // on the face, world units from its centre
    Vector p;       // model space
    float edge;     // distance to the face's rectangle edge, world units
    float px;       // one texel in world units
};

float Grime(const Texel& t, unsigned seed) {
    return FractalNoise(t.u * 9.0f + 500.0f, t.v * 9.0f + 500.0f, 16, 64, seed + unsigned(t.index) * 7u);
}

// Plates: seams every `panel` units, a light bevel under each seam, rivets
// near the plates' corners.
Rgb Plates(Rgb colour, const Texel& t, float panel) {
    const float off = float(t.index % 5) * 0.37f;
    const float du = ToLine(t.u, panel * 1.3f, off), dv = ToLine(t.v, panel, off * 0.6f);
    if (std::min(du, dv) < 0.6f * t.px) return Mix(colour, palette::kPanelLine, 0.65f);
    const float below = Fract((t.v - off * 0.6f) / panel + 0.5f) * panel;  // distance above the seam under it
    if (below < 1.6f * t.px) colour = Scale(colour, 1.12f);
    if (panel < 2.5f) return colour;
    const float ru = ToLine(t.u, panel * 1.3f, off + panel * 0.65f), rv = ToLine(t.v, panel, off * 0.6f + panel * 0.5f);
    const float rivet = std::hypot(panel * 0.65f - 0.4f - ru, panel * 0.5f - 0.4f - rv);
    if (rivet < 0.8f * t.px) return Mix(colour, palette::kPanelLine, 0.35f);
    return colour;
}

// A crease where the face meets the next, a light bevel along its top
// edge, and paint worn off here and there along the edges.
Rgb Edges(Rgb colour, const Texel& t, float wear, unsigned seed) {
    if (t.edge < 0.7f * t.px) return Mix(colour, palette::kPanelLine, 0.4f);
    if (t.face->v1 - t.v < 1.7f * t.px && std::fabs(t.face->normal.y) < 0.7f) colour = Scale(colour, 1.15f);
    if (t.edge < 2.2f * t.px && wear > 0.0f &&
        ValueNoise(t.u * 1.5f + 90.0f, t.v * 1.5f + 90.0f, 1, 4096, seed + unsigned(t.index)) > 1.0f - wear * 0.6f)
        return Mix(colour, palette::kMetalPale, 0.3f);
    return colour;
}

// Storeys 6 units high (a tower is built a storey per block), bays of
// windows 3.4 wide; dirt washed down under each sill.
Rgb Windows(Rgb concrete, const Texel& t, unsigned seed) {
    using namespace palette;
    const SketchFace& f = *t.face;
    if (std::fabs(f.normal.y) > 0.5f) return concrete;
    const float floorH = 6.0f, bayW = 3.4f, margin = 0.5f * std::fmod(f.u1 - f.u0, bayW);
    const float fromBottom = t.v - f.v0, fromLeft = t.u - f.u0 - margin;
    const int storey = int(fromBottom / floorH), bay = int(std::floor(fromLeft / bayW));
    const float inFloor = fromBottom - float(storey) * floorH, inBay = fromLeft - float(bay) * bayW;
    const bool room = (float(storey) + 1.0f) * floorH <= f.v1 - f.v0 + 0.01f && bay >= 0 &&
                      (float(bay) + 1.0f) * bayW <= f.u1 - f.u0 - 2.0f * margin + 0.01f;
    if (inFloor < 0.4f) return Scale(concrete, 1.1f);  // the slab's edge
    if (!room) return concrete;
    if (inBay > 0.7f && inBay < bayW - 0.7f && inFloor > 1.6f && inFloor < 4.8f) {
        if (inBay < 0.7f + t.px || inBay > bayW - 0.7f - t.px || inFloor > 4.8f - t.px) return kPanelLine;
        const bool lit = ValueNoise(float(bay) + float(t.index) * 31.0f, float(storey), 1, 4096, seed + 5) > 0.62f;
        const float height = (inFloor - 1.6f) / 3.2f;
        return lit ? Mix(kWindowLit, Mix(kWindowLit, kHighlight, 0.4f), height) : Mix(kGlass, kSkyHigh, 0.45f * height);
    }
    if (inBay > 0.5f && inBay < bayW - 0.5f && inFloor > 1.3f && inFloor < 1.6f) return Scale(concrete, 1.18f);  // sill
    if (inBay > 0.8f && inBay < bayW - 0.8f && inFloor < 1.3f) {
        const float streak = ValueNoise(t.u * 4.0f, 0.0f, 1, 4096, seed + 9) * (inFloor / 1.3f);
        return Mix(concrete, kRust, 0.1f + 0.25f * streak);
    }
    return concrete;
}

Rgb Base(const Texel& t, const Livery& l) {
    using namespace palette;
    const float grime = Grime(t, l.seed);
    const SketchFace& f = *t.face;
    switch (t.part->paint) {
    case Paint::Hull: return Edges(Plates(Scale(l.hull, 0.87f + 0.2f * grime), t, l.panel), t, 0.35f, l.seed);
    case Paint::Trim: {
        Rgb colour = Scale(l.hull, 0.9f + 0.14f * grime);
        const float band = std::fabs(t.v - (f.v0 + f.v1) * 0.5f), halfBand = (f.v1 - f.v0) * 0.2f;
        if (band < halfBand) colour = Fract((t.u + t.v) / 1.2f) < 0.5f ? Scale(l.mark, 0.92f + 0.1f * grime) : Scale(l.mark, 0.6f);
        else if (band < halfBand + t.px) colour = kPanelLine;
        return Edges(colour, t, 0.3f, l.seed);
    }
    case Paint::Mark: return Edges(Scale(l.mark, 0.9f + 0.12f * grime), t, 0.2f, l.seed);
    case Paint::Dark: {
        Rgb colour = Scale(l.dark, 0.9f + 0.2f * grime);
        if (ToLine(t.v, 0.6f, 0.0f) < 0.6f * t.px) colour = Scale(colour, 0.6f);
        return Edges(colour, t, 0.5f, l.seed);
    }
    case Paint::Glass: {
        const float height = (t.v - f.v0) / std::max(f.v1 - f.v0, 1e-3f);
        Rgb colour = Mix(kGlass, kSkyHigh, 0.5f * height);
        if (Fract((t.u * 0.8f + t.v) * 0.5f) < 0.12f) colour = Mix(colour, kCloud, 0.3f);
        return colour;
    }
    case Paint::Emitter: {
        const float inner = std::min(t.edge / std::max(0.15f, 0.5f * std::min(f.u1 - f.u0, f.v1 - f.v0)), 1.0f);
        return Mix(Scale(l.glow, 0.7f), Mix(l.glow, kInk, 0.45f), inner);
    }
    case Paint::Hazard: return Edges(Fract((t.u + t.v) / 1.4f) < 0.5f ? kHazard : kPanelLine, t, 0.3f, l.seed);
    case Paint::Facade: {
        Rgb concrete = Scale(l.hull, 0.82f + 0.3f * grime);
        return Edges(Windows(concrete, t, l.seed), t, 0.0f, l.seed);
    }
    case Paint::Roof: {
        Rgb colour = Scale(Mix(l.hull, kRockDark, 0.35f), 0.8f + 0.35f * grime);
        if (std::min(ToLine(t.u, 4.0f, 0.0f), ToLine(t.v, 4.0f, 0.0f)) < 0.6f * t.px) colour = Scale(colour, 0.75f);
        return Edges(colour, t, 0.0f, l.seed);
    }
    case Paint::Case: {
        Rgb colour = Scale(l.hull, 0.88f + 0.2f * grime);
        if (t.edge < 0.45f) colour = Scale(l.dark, 0.9f + 0.2f * grime);
        return Edges(colour, t, 0.4f, l.seed);
    }
    case Paint::Brass: {
        const float across = (t.u - f.u0) / std::max(f.u1 - f.u0, 1e-3f);
        const Rgb shine = Mix(Scale(kBrass, 0.7f), Mix(kBrass, kInk, 0.45f), 1.0f - std::fabs(across - 0.35f) * 1.6f);
        return Edges(Scale(shine, 0.9f + 0.15f * grime), t, 0.0f, l.seed);
    }
    case Paint::Cross: {
        // A glossy red with a soft highlight towards the top, in a white rim.
        const float height = (t.v - f.v0) / std::max(f.v1 - f.v0, 1e-3f);
        if (t.edge < 0.3f) return Scale(kHealthWhite, 0.9f + 0.12f * grime);
        return Scale(Mix(kHealthRed, Mix(kHealthRed, kInk, 0.35f), height * 0.6f + 0.3f * grime), 0.88f + 0.16f * grime);
    }
    case Paint::Display: {
        // Rows of bars of different lengths and a frame, like read-outs.
        const float across = (t.u - f.u0) / std::max(f.u1 - f.u0, 1e-3f), down = (f.v1 - t.v) / std::max(f.v1 - f.v0, 1e-3f);
        if (t.edge < 1.5f * t.px) return kMetalDark;
        Rgb colour = Mix(kGlass, Scale(l.glow, 0.25f), 0.3f);
        const int row = int(down * 6.0f);
        const float length = 0.25f + 0.65f * ValueNoise(float(row), float(t.index), 1, 4096, l.seed + 21);
        if (Fract(down * 6.0f) > 0.3f && Fract(down * 6.0f) < 0.75f && across > 0.08f && across < 0.08f + length * 0.84f)
            colour = Mix(l.glow, kInk, 0.2f);
        return colour;
    }
    case Paint::Pad: {
        Rgb colour = Plates(Scale(l.dark, 0.9f + 0.2f * grime), t, l.panel);
        if (f.normal.y < 0.5f) return Edges(colour, t, 0.4f, l.seed);
        const float r = std::hypot(t.p.x - t.part->centre.x, t.p.z - t.part->centre.z);
        const float ring = std::min(ToLine(r, 3.2f, 1.6f), 1e9f);
        const float spoke = std::fabs(std::fmod(std::atan2(t.p.z - t.part->centre.z, t.p.x - t.part->centre.x) + 7.0f * 0.7854f, 0.7854f) - 0.3927f) * r;
        if (ring < 0.35f && r < 9.0f) return Mix(l.glow, kInk, 0.3f * (1.0f - ring / 0.35f));
        if (ring < 0.7f && r < 9.0f) return Mix(colour, l.glow, 0.5f);
        if (spoke < 0.2f && r > 1.5f && r < 9.0f) return Mix(colour, l.glow, 0.35f);
        return Edges(colour, t, 0.4f, l.seed);
    }
    }
    return l.hull;
}

Rgb Shade(Rgb colour, const Texel& t, const Livery& l, float open) {
    using namespace palette;
    if (l.dust > 0.0f && t.part->paint != Paint::Emitter) {
        const float low = std::clamp(1.0f - t.p.y / l.dustHeight, 0.0f, 1.0f);
        const float n = ValueNoise(t.u * 2.0f + 30.0f, t.v * 2.0f, 1, 4096, l.seed + 3);
        colour = Mix(colour, kDust, l.dust * low * (0.45f + 0.4f * n));
    }
    const float light = t.part->paint == Paint::Emitter ? 0.85f + 0.15f * open : 0.42f + 0.58f * std::pow(open, 1.3f);
    return Mix(kShadow, colour, light);
}

}  // namespace

Occlusion BakeOcclusion(const ModelSketch& sketch, float reach, bool ground) {
    Occlusion occlusion;
    occlusion.size = sketch.AtlasSize();
    occlusion.open.assign(size_t(occlusion.size) * size_t(occlusion.size), 1.0f);
    const std::vector<Vector> rays = HemisphereRays();
    // Large atlases are sampled every second texel each way (occlusion
    // changes slowly), small ones at every texel.
    const int step = occlusion.size > 128 ? 2 : 1;
    for (const SketchFace& f : sketch.Faces()) {
        if (f.source >= 0) continue;
        const std::vector<const Part*> near = Neighbours(sketch, f, reach);
        const float density = sketch.Density() * sketch.Parts()[size_t(f.part)].detail;
        for (int ty = f.y; ty < f.y + f.h; ty += step)
            for (int tx = f.x; tx < f.x + f.w; tx += step) {
                float u, v;
                FacePoint(f, density, tx, ty, u, v);
                const Vector p = f.origin + f.right * u + f.up * v;
                const float open = OpenSky(near, p, f, rays, reach, ground);
                for (int y = ty; y < std::min(ty + step, f.y + f.h); ++y)
                    for (int x = tx; x < std::min(tx + step, f.x + f.w); ++x)
                        occlusion.open[size_t(y) * size_t(occlusion.size) + size_t(x)] = open;
            }
    }
    return occlusion;
}

RgbaImage PaintAtlas(const ModelSketch& sketch, const Occlusion& occlusion, const Livery& livery) {
    const int size = sketch.AtlasSize();
    RgbaImage image(size, size);
    image.FillRect(0, 0, size, size, Scale(livery.dark, 0.5f));
    for (const SketchFace& f : sketch.Faces()) {
        if (f.source >= 0) continue;
        const float density = sketch.Density() * sketch.Parts()[size_t(f.part)].detail;
        for (int ty = f.y; ty < f.y + f.h; ++ty)
            for (int tx = f.x; tx < f.x + f.w; ++tx) {
                Texel t;
                t.face = &f;
                t.index = f.part;
                t.part = &sketch.Parts()[size_t(f.part)];
                FacePoint(f, density, tx, ty, t.u, t.v);
                t.p = f.origin + f.right * t.u + f.up * t.v;
                t.edge = std::min(std::min(t.u - f.u0, f.u1 - t.u), std::min(t.v - f.v0, f.v1 - t.v));
                t.px = 1.0f / density;
                image.Put(tx, ty, Shade(Base(t, livery), t, livery, occlusion.At(tx, ty)));
            }
    }
    return image;
}
