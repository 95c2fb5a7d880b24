// Drawing tools of the synthetic radiograph. The picture is drawn as an
// attenuation map: for every pixel the attenuation summed along the ray that
// reaches it (0 = nothing between tube and sensor). Each structure is a soft
// coverage mask (a polygon, rasterised and blurred) added with a weight.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

struct Pt {
    float x = 0, y = 0;
};
using Polygon = std::vector<Pt>;

// Deterministic random numbers (splitmix64): the same seed draws the same
// anatomy and the same noise on every machine and every run.
class Rng {
public:
    explicit Rng(uint64_t llSeed) : s_(llSeed) {}
    uint64_t next();
    double uniform();                          // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double gauss();                            // standard normal

private:
    uint64_t s_;
};

// Coverage of a region over a box of the image, 0..1 per pixel.
class Layer {
public:
    // Rasterises the polygon (even-odd, at pixel centres) with lMargin spare
    // pixels around it for later blurring; clipped to the image of lW x lH.
    static Layer polygon(const Polygon& poly, int32_t lMargin, int32_t lW, int32_t lH);
    // Separable box blur, applied twice (close to a Gaussian), per axis.
    // A temporary is blurred in place.
    Layer blurred(int32_t lRx, int32_t lRy) const&;
    Layer blurred(int32_t lRx, int32_t lRy) &&;
    // The rim just inside the edge: this layer less its blur over lR pixels.
    Layer rim(int32_t lR) const;
    // Coverage passed through f (for instance a threshold that dilates a blur).
    template <class F>
    Layer mapped(F f) const
    {
        Layer l = *this;
        for (float& v : l.m) v = f(v);
        return l;
    }
    // f(this, o) per pixel; o must share the box (a layer made from this one
    // by blurring or mapping does).
    template <class F>
    Layer combined(const Layer& o, F f) const
    {
        Layer l = *this;
        for (size_t i = 0; i < l.m.size() && i < o.m.size(); ++i) l.m[i] = f(m[i], o.m[i]);
        return l;
    }
    // The coverage of this layer that o does not cover.
    Layer minus(const Layer& o) const;
    // The union of polygons rasterised into one box.
    static Layer shapes(const std::vector<Polygon>& polys, int32_t lMargin, int32_t lW, int32_t lH);
    // Scales the coverage by f(x, y) (image coordinates).
    template <class F>
    void modulate(F f)
    {
        for (int32_t y = 0; y < lH; ++y)
            for (int32_t x = 0; x < lW; ++x) m[static_cast<size_t>(y) * lW + x] *= f(lX0 + x, lY0 + y);
    }
    bool booEmpty() const { return lW <= 0 || lH <= 0; }

    int32_t lX0 = 0, lY0 = 0, lW = 0, lH = 0;
    std::vector<float> m;
};

class AttenMap {
public:
    AttenMap(int32_t lW, int32_t lH) : lW_(lW), lH_(lH), a_(static_cast<size_t>(lW) * lH, 0.f) {}
    void add(const Layer& layer, float fWeight);
    // Adds weight * coverage * (1 + fAmount * texture): bone with its trabeculae.
    void addTextured(const Layer& layer, float fWeight, const std::vector<float>& texture, float fAmount);
    // Adds f(x, y) over the whole map.
    template <class F>
    void addField(F f)
    {
        for (int32_t y = 0; y < lH_; ++y)
            for (int32_t x = 0; x < lW_; ++x) a_[static_cast<size_t>(y) * lW_ + x] += f(x, y);
    }
    int32_t lW() const { return lW_; }
    int32_t lH() const { return lH_; }
    const float* data() const { return a_.data(); }
    float at(int32_t x, int32_t y) const { return a_[static_cast<size_t>(y) * lW_ + x]; }

private:
    int32_t lW_, lH_;
    std::vector<float> a_;
};

// Band-passed noise over the whole map, -1..1 roughly: the trabecular pattern
// of bone. lGrain is the pattern's size in pixels.
std::vector<float> boneTexture(int32_t lW, int32_t lH, int32_t lGrain, uint64_t llSeed);

// Shapes as polygons.
Polygon ellipse(float cx, float cy, float rx, float ry, float fAngle = 0.f, int32_t lSteps = 48);
// A tube of the given half width along a polyline (ends cut square).
Polygon stroke(const Polygon& path, float fHalfWidth);
// A smooth path through the points (Catmull-Rom), lPer points per segment.
Polygon smoothPath(const Polygon& pts, int32_t lPer = 12);
// The region between two paths that run the same way (top, then bottom reversed).
Polygon between(const Polygon& top, const Polygon& bottom);
// Mirrors the polygon about the vertical line x = fAxis.
Polygon mirrored(const Polygon& poly, float fAxis);

}  // namespace sim
