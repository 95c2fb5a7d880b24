// The dentition of the panoramic view: each tooth with crown, enamel cap,
// pulp and roots in their socket, some of them restored; for a child the
// primary teeth with the crowns of their successors waiting in the bone.
#include <algorithm>
#include <cmath>

#include "sim/radiograph_anatomy.h"

namespace sim {
namespace {

constexpr float kMid = 1450.f;
constexpr float kPi = 3.14159265f;

enum class Kind { Incisor, Canine, Premolar, Molar };
enum class Fix { None, Filling, Crown, RootCanal };

struct Tooth {
    Kind kind = Kind::Incisor;
    bool booUpper = false;
    float w = 0, len = 0, crown = 0;  // layout pixels
    int32_t lRoots = 1;
    float x = 0, tipY = 0, angle = 0;
    float rootFrac = 1.f;             // < 1: root still forming, or resorbing
    bool booBud = false;              // unerupted: crown in its crypt
    Fix fix = Fix::None;
};

// The tooth's own frame: s across, t from the occlusal edge toward the apex.
struct Frame {
    Pt tip, a, n;
    Pt at(float s, float t) const { return {tip.x + a.x * t + n.x * s, tip.y + a.y * t + n.y * s}; }
};

Frame frameOf(const Tooth& th)
{
    const float sa = std::sin(th.angle), ca = std::cos(th.angle);
    Frame f;
    f.tip = {th.x, th.tipY};
    f.a = th.booUpper ? Pt{sa, -ca} : Pt{sa, ca};
    f.n = {-f.a.y, f.a.x};
    return f;
}

float crownHalf(const Tooth& th, float t)
{
    const float w2 = th.w / 2, r = std::clamp(t / th.crown, 0.f, 1.f);
    float h = 0;
    switch (th.kind) {
    case Kind::Incisor: h = w2 * (0.95f - 0.25f * r * r); break;
    case Kind::Canine: h = w2 * std::min(1.f, 0.22f + 1.7f * r) * (1.f - 0.2f * r * r); break;
    case Kind::Premolar: h = w2 * (0.86f + 0.14f * std::sin(kPi * r)); break;
    case Kind::Molar: h = w2 * (0.92f + 0.08f * std::sin(kPi * r)); break;
    }
    const float rc = (th.kind == Kind::Incisor ? 0.10f : th.kind == Kind::Molar ? 0.14f : 0.20f) * th.w;
    if (t < rc && th.kind != Kind::Canine) h *= std::sqrt(std::max(0.09f, 1.f - (1.f - t / rc) * (1.f - t / rc)));
    if (r > 0.8f) h *= 1.f - (r - 0.8f) / 0.2f * 0.24f;  // narrowing to the neck
    return h;
}

float rootEnd(const Tooth& th) { return th.crown + (th.len - th.crown) * th.rootFrac; }

float rootHalf(const Tooth& th, float t, float neck)
{
    const float q = std::clamp((t - th.crown) / std::max(1.f, th.len - th.crown), 0.f, 1.f);
    return neck * (1.f - 0.72f * std::pow(q, 2.2f));
}

// Depth of the occlusal edge under the cusps at s.
float cuspT(const Tooth& th, float s, float half)
{
    const float x = std::clamp(s / (2 * half) + 0.5f, 0.f, 1.f);
    const float depth = th.kind == Kind::Molar ? 0.08f : th.kind == Kind::Premolar ? 0.10f : 0.f;
    const float lobes = th.kind == Kind::Molar ? 2.f : 1.f;
    return depth * th.crown * 0.5f * (1.f - std::cos(2 * kPi * lobes * x));
}

float trunkEnd(const Tooth& th)
{
    return th.lRoots > 1 ? th.crown + 0.36f * (rootEnd(th) - th.crown) : rootEnd(th);
}

// The outline from t0 to t1 (left side down from t1, over the edge, right
// side back), the half width shrunk by inset and the edge lowered by drop.
Polygon outline(const Tooth& th, const Frame& f, float t1, float inset, float drop, bool booClosedRoot)
{
    const float neck = crownHalf(th, th.crown);
    auto half = [&](float t) {
        const float h = t <= th.crown ? crownHalf(th, t) : rootHalf(th, t, neck);
        return std::max(0.f, h - inset * std::pow(std::max(0.f, 1.f - t / t1), 0.6f));
    };
    const float t0 = 0.02f * th.crown + drop;
    Polygon p;
    const int32_t n = 24;
    for (int32_t i = n; i >= 0; --i) {
        const float t = t0 + (t1 - t0) * static_cast<float>(i) / n;
        p.push_back(f.at(-half(t), t));
    }
    const float h0 = half(t0);
    for (int32_t i = 1; i < 12; ++i) {
        const float s = -h0 + 2 * h0 * static_cast<float>(i) / 12;
        p.push_back(f.at(s, t0 + cuspT(th, s, h0)));
    }
    for (int32_t i = 0; i <= n; ++i) {
        const float t = t0 + (t1 - t0) * static_cast<float>(i) / n;
        p.push_back(f.at(half(t), t));
    }
    if (booClosedRoot) p.push_back(f.at(0, t1 + 0.02f * th.len));  // rounded apex
    return p;
}

// The separate roots of a molar, each a tapering tube from the trunk.
std::vector<Polygon> roots(const Tooth& th, const Frame& f, float fShrink)
{
    std::vector<Polygon> out;
    const float neck = crownHalf(th, th.crown), tf = trunkEnd(th), te = rootEnd(th);
    const float spread = th.lRoots == 2 ? 0.5f : 0.6f;
    for (int32_t j = 0; j < th.lRoots; ++j) {
        const float side = th.lRoots == 2 ? (j == 0 ? -1.f : 1.f) : static_cast<float>(j - 1);
        const float end = side == 0.f ? th.crown + 0.9f * (te - th.crown) : te;
        Polygon l, r;
        for (int32_t i = 0; i <= 16; ++i) {
            const float t = th.crown + (end - th.crown) * static_cast<float>(i) / 16;
            const float c = side * (neck * spread + std::max(0.f, t - tf) * 0.06f);
            const float q = (t - th.crown) / std::max(1.f, end - th.crown);
            const float h = std::max(0.f, neck * 0.5f * (1.f - 0.7f * std::pow(q, 1.8f)) * fShrink);
            l.push_back(f.at(c - h, t));
            r.push_back(f.at(c + h, t));
        }
        Polygon p = between(l, r);
        out.push_back(p);
    }
    return out;
}

void drawTooth(AttenMap& map, const Geo& g, const Tooth& th, Rng& rng)
{
    const Frame f = frameOf(th);
    const int32_t lMargin = g.px(14);
    const float tEnd = th.booBud ? th.crown : trunkEnd(th);
    std::vector<Polygon> body{outline(th, f, tEnd, 0, 0, th.lRoots == 1 && !th.booBud)};
    if (th.lRoots > 1 && !th.booBud) {
        const std::vector<Polygon> rs = roots(th, f, 1.f);
        body.insert(body.end(), rs.begin(), rs.end());
    }
    std::vector<Polygon> bodyPx;
    for (const Polygon& p : body) bodyPx.push_back(g.map(p));
    const Layer tooth = Layer::shapes(bodyPx, lMargin, g.lW, g.lH).blurred(1, 1);
    // A tooth is round in section: the X-ray crosses more of it in the
    // middle than at its sides.
    const int32_t lCore = g.px(th.w * 0.16f);
    map.add(tooth.combined(tooth.blurred(lCore, lCore), [](float m, float b) { return m * (0.3f + 0.7f * std::sqrt(std::max(0.f, b))); }),
            0.95f);
    if (th.booBud) {
        // The crypt: a dark follicle with a thin bright wall round the crown.
        const Pt c = f.at(0, th.crown * 0.55f);
        const Layer crypt = Layer::polygon(g.map(ellipse(c.x, c.y, th.w * 0.62f, th.crown * 0.8f, th.angle)), lMargin,
                                           g.lW, g.lH)
                                .blurred(g.px(2), g.px(2));
        map.add(crypt.minus(tooth), -0.16f);
        map.add(crypt.rim(g.px(4)), 0.12f);
    } else {
        // Lamina dura: the socket's bright wall just outside the roots, from
        // a little below the neck where the bone begins.
        Layer wall = tooth.blurred(g.px(6), g.px(6)).minus(tooth.blurred(1, 1).mapped([](float v) { return std::min(1.f, 1.6f * v); }));
        const float tBone = th.crown + 0.12f * (th.len - th.crown);
        wall.modulate([&](int32_t x, int32_t y) {
            const Pt p = g.unmap(x, y);
            const float t = (p.x - f.tip.x) * f.a.x + (p.y - f.tip.y) * f.a.y;
            return std::clamp((t - tBone) / 20.f, 0.f, 1.f);
        });
        map.add(wall, 0.22f);
    }

    // Enamel cap: the crown less its dentin core, thinning out at the neck.
    const float e = th.w * 0.10f;
    Polygon cap = outline(th, f, th.crown * 0.85f, 0, 0, false);
    Polygon core = outline(th, f, th.crown * 0.85f, e, th.crown * 0.12f, false);
    cap.insert(cap.end(), core.rbegin(), core.rend());
    map.add(Layer::polygon(g.map(cap), lMargin, g.lW, g.lH).blurred(g.px(2), g.px(2)), th.fix == Fix::Crown ? 0.f : 0.45f);

    // Pulp chamber and canals, or their root filling.
    if (!th.booBud || th.rootFrac > 0) {
        std::vector<Polygon> pulp;
        Tooth inner = th;
        inner.w = th.w * 0.22f;
        const float t0 = th.crown * (th.kind == Kind::Molar ? 0.38f : 0.30f);
        Polygon chamber;
        if (th.lRoots == 1) {
            chamber = outline(inner, f, rootEnd(th) * 0.97f, 0, t0, true);
        } else {
            chamber = outline(inner, f, tEnd, 0, t0, false);
            const std::vector<Polygon> canals = roots(th, f, 0.16f);
            pulp.insert(pulp.end(), canals.begin(), canals.end());
        }
        pulp.push_back(chamber);
        std::vector<Polygon> pulpPx;
        for (const Polygon& p : pulp) pulpPx.push_back(g.map(p));
        const Layer l = Layer::shapes(pulpPx, lMargin, g.lW, g.lH).blurred(1, 1);
        map.add(l, th.fix == Fix::RootCanal ? 1.1f : th.booBud ? -0.15f : -0.32f);
    }

    if (th.fix == Fix::Crown) {
        map.add(Layer::polygon(g.map(outline(th, f, th.crown * 0.95f, -g.len(4), 0, false)), lMargin, g.lW, g.lH), 1.5f);
    } else if (th.fix != Fix::None) {
        // An occlusal filling, its outline a little irregular.
        const Pt c = f.at(static_cast<float>(rng.range(-0.12, 0.12)) * th.w, th.crown * 0.22f);
        Polygon fill = ellipse(c.x, c.y, th.w * 0.27f, th.crown * 0.22f, th.angle, 16);
        for (Pt& p : fill) {
            const float k = static_cast<float>(rng.range(0.85, 1.12));
            p = {c.x + (p.x - c.x) * k, c.y + (p.y - c.y) * k};
        }
        map.add(Layer::polygon(g.map(fill), lMargin, g.lW, g.lH).blurred(1, 1), 2.0f);
    }
}

float occlusalY(float x)
{
    const float u = (x - kMid) / kMid;
    return 745.f - 220.f * u * u;
}

struct Row {
    Kind kind;
    float w, len, crown;
    int32_t lRoots;
};

// Adult teeth of one quadrant, from the midline back: incisors, canine,
// premolars, molars.
const Row kUpper[8] = {{Kind::Incisor, 105, 250, 105, 1}, {Kind::Incisor, 85, 230, 95, 1},
                       {Kind::Canine, 95, 290, 110, 1},   {Kind::Premolar, 90, 235, 90, 1},
                       {Kind::Premolar, 85, 230, 88, 1},  {Kind::Molar, 135, 215, 80, 3},
                       {Kind::Molar, 125, 205, 78, 3},    {Kind::Molar, 115, 185, 75, 3}};
const Row kLower[8] = {{Kind::Incisor, 70, 225, 90, 1},   {Kind::Incisor, 75, 235, 92, 1},
                       {Kind::Canine, 90, 275, 105, 1},   {Kind::Premolar, 90, 240, 88, 1},
                       {Kind::Premolar, 92, 240, 85, 1},  {Kind::Molar, 145, 225, 80, 2},
                       {Kind::Molar, 138, 215, 78, 2},    {Kind::Molar, 130, 195, 75, 2}};

// A child of about eight: permanent incisors and first molars erupted,
// primary canine and molars still in place over their successors.
const Row kUpperChild[6] = {{Kind::Incisor, 105, 250, 105, 1}, {Kind::Incisor, 85, 230, 95, 1},
                            {Kind::Canine, 72, 190, 72, 1},    {Kind::Molar, 80, 150, 60, 3},
                            {Kind::Molar, 95, 155, 62, 3},     {Kind::Molar, 135, 215, 80, 3}};
const Row kLowerChild[6] = {{Kind::Incisor, 70, 225, 90, 1}, {Kind::Incisor, 75, 235, 92, 1},
                            {Kind::Canine, 68, 180, 70, 1},  {Kind::Molar, 88, 150, 58, 2},
                            {Kind::Molar, 105, 155, 60, 2},  {Kind::Molar, 145, 225, 80, 2}};
const Row kSuccessors[3] = {{Kind::Canine, 92, 280, 108, 1}, {Kind::Premolar, 88, 235, 88, 1},
                            {Kind::Premolar, 88, 235, 86, 1}};

void placeQuadrant(std::vector<Tooth>& out, const Row* rows, int32_t lCount, bool booUpper, float fSide, bool booChild,
                   Rng& rng)
{
    float x = kMid - fSide * 3.f;
    // A child's fewer teeth stand wider apart in the growing arch.
    const float fSpread = booChild ? 1.22f : 1.f;
    for (int32_t i = 0; i < lCount; ++i) {
        const Row& r = rows[i];
        Tooth th;
        th.kind = r.kind, th.w = r.w, th.len = r.len, th.crown = r.crown, th.lRoots = r.lRoots;
        th.booUpper = booUpper;
        th.x = x - fSide * r.w * fSpread / 2;
        x -= fSide * (r.w * fSpread - 2.f);  // neighbours touch at their contact points
        th.tipY = occlusalY(th.x) + (booUpper ? -4.f : 4.f);
        // Roots lean back, more so toward the molars, with the patient's own scatter.
        th.angle = fSide * (-0.03f - 0.10f * static_cast<float>(i) / 7.f) * (booUpper ? -1.f : 1.f) +
                   static_cast<float>(rng.range(-0.04, 0.04));
        if (booChild) {
            const bool booPrimary = i >= 2 && i <= 4;
            th.rootFrac = booPrimary ? 0.6f : i == 5 ? 0.85f : 0.75f;
            if (booPrimary) {
                const Row& s = kSuccessors[i - 2];
                Tooth bud;
                bud.kind = s.kind, bud.w = s.w, bud.len = s.len, bud.crown = s.crown;
                bud.booUpper = booUpper, bud.booBud = true, bud.rootFrac = 0.f;
                bud.x = th.x, bud.angle = th.angle * 0.5f;
                bud.tipY = th.tipY + (booUpper ? -1.f : 1.f) * (r.crown + 0.55f * (r.len - r.crown));
                out.push_back(bud);
            }
        } else if (i == 7) {
            // Wisdom teeth: erupted, impacted at a slant, or absent.
            const double d = rng.uniform();
            if (d < 0.2) continue;
            if (d < 0.5) {
                th.angle += fSide * (booUpper ? -0.45f : 0.6f);
                th.tipY += booUpper ? -50.f : 70.f;
                th.x += fSide * 20.f;
            }
        }
        out.push_back(th);
    }
    if (booChild) {
        // The second molar's crown forming behind the first.
        Tooth bud;
        bud.kind = Kind::Molar, bud.w = 125, bud.len = 205, bud.crown = 78, bud.lRoots = booUpper ? 3 : 2;
        bud.booUpper = booUpper, bud.booBud = true, bud.rootFrac = 0.f;
        bud.x = x - fSide * 70.f, bud.angle = fSide * (booUpper ? 0.35f : -0.3f);
        bud.tipY = occlusalY(bud.x) + (booUpper ? -120.f : 130.f);
        out.push_back(bud);
    }
}

}  // namespace

void drawDentition(AttenMap& map, const Geo& g, bool booChild, uint64_t llSeed)
{
    Rng rng(llSeed ^ 0x70074ull);
    std::vector<Tooth> teeth;
    for (float side : {1.f, -1.f}) {
        placeQuadrant(teeth, booChild ? kUpperChild : kUpper, booChild ? 6 : 8, true, side, booChild, rng);
        placeQuadrant(teeth, booChild ? kLowerChild : kLower, booChild ? 6 : 8, false, side, booChild, rng);
    }
    // A few restorations on the back teeth of an adult.
    if (!booChild) {
        const int32_t lFixes = 1 + static_cast<int32_t>(rng.uniform() * 4);
        for (int32_t k = 0; k < lFixes; ++k) {
            Tooth& th = teeth[static_cast<size_t>(rng.uniform() * static_cast<double>(teeth.size()))];
            if (th.kind != Kind::Molar && th.kind != Kind::Premolar) continue;
            const double d = rng.uniform();
            th.fix = d < 0.6 ? Fix::Filling : d < 0.8 ? Fix::RootCanal : Fix::Crown;
        }
    }
    for (const Tooth& th : teeth) drawTooth(map, g, th, rng);
}

}  // namespace sim
