// One lateral view of the temporomandibular joint: the condyle in its fossa
// under the temporal bone (mouth closed) or forward under the articular
// eminence (mouth open), with the ramus below, the ear canal and mastoid
// behind. Layout coordinates 725 x 1400; the face to the right for the
// patient's right side, mirrored for the left.
#include <algorithm>
#include <cmath>

#include "sim/radiograph_anatomy.h"

namespace sim {
namespace {

constexpr float kW = 725.f;

Polygon temporalBone()
{
    return smoothPath({{-40, -40}, {kW + 40, -40}, {kW + 40, 448}, {640, 446}, {560, 425}, {510, 440},
                       {470, 452}, {428, 420}, {385, 372}, {335, 352}, {285, 368}, {250, 420}, {215, 470},
                       {170, 560}, {130, 630}, {90, 640}, {50, 600}, {-40, 570}},
                      8);
}

// The ramus with condyle and coronoid, mouth closed: a slender neck under an
// oval head, the notch, the coronoid rising behind the zygomatic arch.
Polygon ramus()
{
    return smoothPath({{215, 1440}, {235, 1200}, {258, 960}, {280, 740}, {298, 590}, {300, 500}, {282, 440},
                       {288, 398}, {330, 378}, {378, 394}, {386, 432}, {364, 480}, {362, 540}, {410, 600},
                       {465, 596}, {505, 540}, {530, 492}, {552, 500}, {565, 600}, {565, 800}, {580, 1100},
                       {600, 1440}},
                      8);
}

Polygon moved(const Polygon& p, Pt pivot, float fAngle, Pt to)
{
    const float c = std::cos(fAngle), s = std::sin(fAngle);
    Polygon out;
    for (const Pt& q : p) {
        const float dx = q.x - pivot.x, dy = q.y - pivot.y;
        out.push_back({to.x + dx * c - dy * s, to.y + dx * s + dy * c});
    }
    return out;
}

}  // namespace

void drawTmjView(AttenMap& map, const Geo& g, bool booOpen, bool booLeft, uint64_t llSeed)
{
    auto side = [&](const Polygon& p) { return booLeft ? mirrored(p, kW / 2) : p; };
    Rng rng(llSeed ^ 0x73A1ull);
    const std::vector<float> tex = boneTexture(g.lW, g.lH, std::max(2, g.px(9)), llSeed ^ 0x7E37ull);
    const float fInvH = 1.f / static_cast<float>(g.lH);
    // The whole head lies in the beam of a lateral view: much more tissue
    // than in the panoramic, thinning toward the neck.
    map.addField([&](int32_t, int32_t y) { return 0.95f - 0.25f * static_cast<float>(y) * fInvH; });
    addShape(map, g, side(stroke({{610, 640}, {600, 900}, {590, 1400}}, 40)), -0.14f, 20);

    // Temporal bone, its cortex outlining the fossa and the eminence.
    // It thins out upward into the even shadow of the skull.
    Layer temporal = Layer::polygon(g.map(side(temporalBone())), g.px(30), g.lW, g.lH).blurred(g.px(6), g.px(6));
    const Layer rim = temporal.rim(g.px(9));
    const float fTop = g.P(0, 80).y, fLow = g.P(0, 380).y;
    temporal.modulate([&](int32_t, int32_t y) {
        return 0.45f + 0.55f * std::clamp((static_cast<float>(y) - fTop) / (fLow - fTop), 0.f, 1.f);
    });
    map.addTextured(temporal, 0.42f, tex, 0.25f);
    map.add(rim, 0.26f);
    // The petrous ridge, dense and slanting, and the zygomatic arch forward.
    addShape(map, g, side(stroke(smoothPath({{-60, 120}, {150, 200}, {300, 245}, {440, 262}}), 40)), 0.14f, 36);
    addShape(map, g, side(stroke(smoothPath({{500, 404}, {600, 394}, {780, 398}}), 30)), 0.12f, 12);
    addShape(map, g, side(ellipse(185, 345, 46, 40)), -0.38f, 4);  // ear canal
    for (int32_t i = 0; i < 14; ++i) {                            // mastoid air cells
        const float x = static_cast<float>(rng.range(40, 170)), y = static_cast<float>(rng.range(430, 600));
        const float r = static_cast<float>(rng.range(9, 20));
        addShape(map, g, side(ellipse(x, y, r, r * 0.8f)), -0.16f, 2);
    }
    addShape(map, g, side(stroke(smoothPath({{225, 470}, {250, 620}, {285, 780}}), 6)), 0.2f, 2);  // styloid

    // The ramus: in the fossa, or rotated and slid forward under the eminence.
    Polygon jaw = ramus();
    if (booOpen) jaw = moved(jaw, {333, 420}, 0.20f, {456, 492});
    const Layer bone = Layer::polygon(g.map(side(jaw)), g.px(30), g.lW, g.lH).blurred(g.px(5), g.px(5));
    map.addTextured(bone, 0.40f, tex, 0.25f);
    map.add(bone.rim(g.px(10)), 0.30f);
}

}  // namespace sim
