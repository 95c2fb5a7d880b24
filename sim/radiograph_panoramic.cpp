// The panoramic view: the jaws unrolled, with the structures a panoramic
// radiograph shows around the teeth (drawn here) and the dentition itself
// (radiograph_teeth.cpp). Layout coordinates: 2900 x 1400, midline x = 1450;
// the patient's right side is on the image's left.
#include <algorithm>
#include <cmath>

#include "sim/radiograph_anatomy.h"

namespace sim {
namespace {

constexpr float kMid = 1450.f;

// Both sides: the left-side layout and its mirror image.
void addBoth(AttenMap& map, const Geo& g, const Polygon& left, float fWeight, float fBlur)
{
    addShape(map, g, left, fWeight, fBlur);
    addShape(map, g, mirrored(left, kMid), fWeight, fBlur);
}

void addBothStroke(AttenMap& map, const Geo& g, const Polygon& path, float fHalf, float fWeight, float fBlur)
{
    addBoth(map, g, stroke(smoothPath(path), fHalf), fWeight, fBlur);
}

// Mandible outline, patient's right half, from the chin round the angle and
// ramus, over the condyle and coronoid, back along the alveolar crest.
Polygon mandibleHalf()
{
    return smoothPath({{1450, 1205}, {1250, 1196}, {1020, 1168}, {800, 1125}, {620, 1082}, {480, 1050},
                       {400, 1000}, {362, 920},   {338, 800},   {316, 670},  {300, 560},  {292, 470},
                       {280, 400},  {258, 345},   {272, 300},   {318, 290},  {352, 318},  {356, 372},
                       {350, 430},  {392, 472},   {455, 470},   {505, 420},  {540, 372},  {568, 392},
                       {588, 500},  {604, 640},   {640, 770},   {720, 788},  {900, 814},  {1100, 836},
                       {1300, 849}, {1450, 853}},
                      8);
}

Polygon maxillaHalf()
{
    return smoothPath({{1450, 622}, {1250, 620}, {1000, 613}, {780, 598}, {640, 578}, {560, 520},
                       {545, 400},  {600, 290},  {800, 230},  {1100, 210}, {1450, 205}},
                      8);
}

Polygon whole(const Polygon& half)
{
    Polygon p = half;
    const Polygon m = mirrored(half, kMid);
    p.insert(p.end(), m.begin(), m.end());
    return p;
}

void drawSoftTissue(AttenMap& map, const Geo& g, uint64_t llSeed)
{
    // Soft tissue of the face and neck, a little thicker low down, with a
    // slow unevenness of its own.
    Rng rng(llSeed ^ 0x50F7ull);
    const float ph1 = static_cast<float>(rng.range(0, 6.28)), ph2 = static_cast<float>(rng.range(0, 6.28));
    const float fInvW = 1.f / static_cast<float>(g.lW), fInvH = 1.f / static_cast<float>(g.lH);
    map.addField([&](int32_t x, int32_t y) {
        const float u = static_cast<float>(x) * fInvW, v = static_cast<float>(y) * fInvH;
        return 0.42f + 0.16f * v + 0.04f * std::sin(7.f * u + ph1) * std::cos(5.f * v + ph2);
    });
    // Ear lobes and the tongue; the air over the tongue and in the pharynx.
    addBoth(map, g, ellipse(150, 470, 95, 160), 0.12f, 20);
    addShape(map, g, ellipse(kMid, 720, 720, 120), 0.16f, 40);
    addShape(map, g, stroke(smoothPath({{640, 540}, {900, 575}, {1200, 592}, {1450, 596}, {1700, 592},
                                        {2000, 575}, {2260, 540}}),
                            30),
             -0.16f, 24);
    addBothStroke(map, g, {{560, 520}, {545, 700}, {530, 900}, {510, 1150}, {495, 1400}}, 40, -0.18f, 24);
}

void drawMaxilla(AttenMap& map, const Geo& g, const std::vector<float>& tex)
{
    // The maxilla fades upward into the midface instead of ending in an edge.
    Layer bone = Layer::polygon(g.map(whole(maxillaHalf())), g.px(30), g.lW, g.lH).blurred(g.px(6), g.px(10));
    const float fTop = g.P(0, 230).y, fFull = g.P(0, 420).y;
    bone.modulate([&](int32_t, int32_t y) {
        const float t = std::clamp((static_cast<float>(y) - fTop) / (fFull - fTop), 0.f, 1.f);
        return 0.35f + 0.65f * t * t * (3 - 2 * t);
    });
    map.addTextured(bone, 0.36f, tex, 0.22f);
    // Maxillary sinuses, their floors dipping between the molar roots; the
    // nasal cavity with its septum and lower turbinates; the hard palate.
    const Polygon sinus = smoothPath({{620, 430}, {650, 330}, {780, 290}, {960, 300}, {1060, 360}, {1040, 450},
                                      {960, 500}, {880, 488}, {800, 505}, {700, 480}, {620, 430}},
                                     6);
    addBoth(map, g, sinus, -0.26f, 6);
    const Layer sinusMask = Layer::polygon(g.map(sinus), g.px(12), g.lW, g.lH).blurred(g.px(2), g.px(2));
    map.add(sinusMask.rim(g.px(5)), 0.16f);
    map.add(Layer::polygon(g.map(mirrored(sinus, kMid)), g.px(12), g.lW, g.lH).blurred(g.px(2), g.px(2)).rim(g.px(5)),
            0.16f);
    addShape(map, g, smoothPath({{1230, 440}, {1250, 300}, {1330, 230}, {1450, 215}, {1570, 230}, {1650, 300},
                                 {1670, 440}, {1450, 452}, {1230, 440}},
                                6),
             -0.16f, 10);
    addShape(map, g, stroke({{kMid, 225}, {kMid, 445}}, 9), 0.14f, 4);
    addBoth(map, g, ellipse(1330, 395, 70, 34, 0.1f), 0.10f, 6);
    addShape(map, g, stroke(smoothPath({{720, 470}, {1000, 452}, {1450, 446}, {1900, 452}, {2180, 470}}), 13),
             0.30f, 3);
    // Zygomatic arches and buttresses, the orbits' lower rims.
    addBothStroke(map, g, {{40, 285}, {200, 296}, {380, 312}, {520, 334}, {640, 322}}, 24, 0.20f, 9);
    addBothStroke(map, g, {{740, 260}, {800, 330}, {840, 410}, {900, 440}, {960, 420}}, 11, 0.14f, 5);
}

void drawMandible(AttenMap& map, const Geo& g, const std::vector<float>& tex)
{
    const Layer jaw = Layer::polygon(g.map(whole(mandibleHalf())), g.px(40), g.lW, g.lH).blurred(g.px(2), g.px(2));
    map.addTextured(jaw, 0.50f, tex, 0.34f);
    // The cortex, thickest along the lower border, thin at the crest between the teeth.
    Layer cortex = jaw.rim(g.px(12));
    cortex.modulate([&](int32_t x, int32_t y) {
        const Pt p = g.unmap(x, y);
        if (p.x < 620 || p.x > 2280) return 1.f;
        return std::clamp((p.y - 880.f) / 150.f, 0.2f, 1.f);
    });
    map.add(cortex, 0.36f);
    // Glenoid fossae and articular eminences above the condyles.
    addBothStroke(map, g, {{215, 330}, {240, 270}, {300, 245}, {360, 268}, {395, 320}, {440, 355}, {500, 340}}, 8,
                  0.20f, 3);
    // Mandibular canals: a dark lumen between two thin walls, from the
    // foramen in the ramus, under the molar roots, to the mental foramen.
    const Polygon canal = {{470, 640}, {505, 760}, {580, 880}, {690, 965}, {830, 1005}, {960, 1012}, {1075, 985}};
    addBothStroke(map, g, canal, 19, 0.12f, 3);
    addBothStroke(map, g, canal, 14, -0.26f, 3);
    addBoth(map, g, ellipse(1085, 985, 20, 16), -0.14f, 3);
    // Styloid processes and the hyoid bone (doubled and smeared, as a
    // structure far from the layer the sweep keeps sharp).
    addBothStroke(map, g, {{330, 560}, {350, 680}, {380, 800}}, 6, 0.18f, 2);
    const Layer hyoid = Layer::polygon(g.map(stroke(smoothPath({{700, 1330}, {880, 1312}, {1060, 1322}}), 20)),
                                       g.px(60), g.lW, g.lH)
                            .blurred(g.px(30), g.px(6));
    map.add(hyoid, 0.30f);
    map.add(Layer::polygon(g.map(mirrored(stroke(smoothPath({{700, 1330}, {880, 1312}, {1060, 1322}}), 20), kMid)),
                           g.px(60), g.lW, g.lH)
                .blurred(g.px(30), g.px(6)),
            0.30f);
}

void drawSpine(AttenMap& map, const Geo& g, const std::vector<float>& tex)
{
    // The cervical vertebrae at both edges, and their ghost in the middle:
    // the spine lies behind the front teeth, far out of the sharp layer.
    const float tops[] = {720, 935, 1115, 1295};
    const float bottoms[] = {905, 1085, 1265, 1445};
    for (int i = 0; i < 4; ++i) {
        const Polygon body = smoothPath({{-60, tops[i]}, {70, tops[i] + 8}, {118, tops[i] + 40}, {122, bottoms[i] - 40},
                                         {80, bottoms[i]}, {-60, bottoms[i]}},
                                        6);
        for (const Polygon& p : {body, mirrored(body, kMid)}) {
            const Layer l = Layer::polygon(g.map(p), g.px(30), g.lW, g.lH).blurred(g.px(9), g.px(9));
            map.addTextured(l, 0.36f, tex, 0.15f);
            map.add(l.rim(g.px(8)), 0.14f);
        }
    }
    addBoth(map, g, smoothPath({{-20, 740}, {40, 600}, {70, 560}, {90, 620}, {80, 740}}, 6), 0.36f, 6);
    const Layer ghost =
        Layer::polygon(g.map(smoothPath({{1330, 560}, {1570, 560}, {1640, 900}, {1660, 1420}, {1240, 1420}, {1260, 900}},
                                        6)),
                       g.px(200), g.lW, g.lH)
            .blurred(g.px(90), g.px(40));
    map.add(ghost, 0.55f);
}

}  // namespace

void addShape(AttenMap& map, const Geo& g, const Polygon& layout, float fWeight, float fBlur)
{
    const int32_t r = fBlur > 0 ? g.px(fBlur) : 0;
    Layer l = Layer::polygon(g.map(layout), 3 * r + 2, g.lW, g.lH);
    if (r > 0) l = l.blurred(r, r);
    map.add(l, fWeight);
}

void drawPanoramic(AttenMap& map, const Geo& g, bool booChild, uint64_t llSeed)
{
    const std::vector<float> tex = boneTexture(g.lW, g.lH, std::max(2, g.px(booChild ? 7.f : 8.f)), llSeed ^ 0x7EB0ull);
    drawSoftTissue(map, g, llSeed);
    drawMaxilla(map, g, tex);
    drawMandible(map, g, tex);
    drawSpine(map, g, tex);
}

}  // namespace sim
