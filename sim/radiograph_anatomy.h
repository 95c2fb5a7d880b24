// The anatomy of the synthetic radiograph, drawn into attenuation maps.
// Geometry is laid out on the full-size canvas (2900 x 1400 for the
// panoramic, 725 x 1400 for one TMJ view) and scaled to the binned image.
#pragma once
#include <cstdint>
#include <vector>

#include "sim/radiograph_draw.h"

namespace sim {

// Full-size layout coordinates to image pixels, with the smaller skull of a
// child drawn about the middle of the face.
struct Geo {
    float fK = 1.f;                 // image pixels per layout pixel
    float fScale = 1.f;             // anatomy scale (child < 1)
    float fCx = 1450.f, fCy = 650.f;
    int32_t lW = 0, lH = 0;         // the map's size
    Pt P(float x, float y) const { return {(fCx + (x - fCx) * fScale) * fK, (fCy + (y - fCy) * fScale) * fK}; }
    // Image pixel centre back to layout coordinates.
    Pt unmap(int32_t x, int32_t y) const
    {
        return {fCx + ((static_cast<float>(x) + 0.5f) / fK - fCx) / fScale,
                fCy + ((static_cast<float>(y) + 0.5f) / fK - fCy) / fScale};
    }
    float len(float d) const { return d * fScale * fK; }
    int32_t px(float d) const { return d * fScale * fK < 1.f ? 1 : static_cast<int32_t>(d * fScale * fK + 0.5f); }
    Polygon map(const Polygon& layout) const
    {
        Polygon out;
        out.reserve(layout.size());
        for (const Pt& p : layout) out.push_back(P(p.x, p.y));
        return out;
    }
};

// Adds a polygon (layout coordinates) softened by lBlur layout pixels.
void addShape(AttenMap& map, const Geo& g, const Polygon& layout, float fWeight, float fBlur);

void drawPanoramic(AttenMap& map, const Geo& g, bool booChild, uint64_t llSeed);
void drawDentition(AttenMap& map, const Geo& g, bool booChild, uint64_t llSeed);
// One lateral TMJ view: booOpen with the mouth open, booLeft mirrored.
void drawTmjView(AttenMap& map, const Geo& g, bool booOpen, bool booLeft, uint64_t llSeed);

}  // namespace sim
