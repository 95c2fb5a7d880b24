#include "sim/radiograph_draw.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace sim {
namespace {

// One pass of a running-sum box filter along each row. Beyond the ends the
// edge value goes on: a layer cut off by the image's border does not fade
// (and grow a rim) there.
void rowPass(std::vector<float>& buf, int32_t lW, int32_t lH, int32_t lR)
{
    if (lR <= 0) return;
    std::vector<float> line(static_cast<size_t>(lW));
    const float fNorm = 1.f / static_cast<float>(2 * lR + 1);
    for (int32_t y = 0; y < lH; ++y) {
        float* p = buf.data() + static_cast<size_t>(y) * lW;
        std::copy_n(p, lW, line.data());
        double sum = 0;
        for (int32_t i = -lR; i <= lR; ++i) sum += line[std::clamp(i, 0, lW - 1)];
        for (int32_t i = 0; i < lW; ++i) {
            p[i] = std::max(0.f, static_cast<float>(sum) * fNorm);
            sum += line[std::min(i + lR + 1, lW - 1)] - line[std::max(i - lR, 0)];
        }
    }
}

// The same down each column, a whole row at a time so memory is read in order.
void columnPass(std::vector<float>& buf, int32_t lW, int32_t lH, int32_t lR)
{
    if (lR <= 0) return;
    const std::vector<float> src = buf;
    std::vector<float> sum(static_cast<size_t>(lW), 0.f);
    const float fNorm = 1.f / static_cast<float>(2 * lR + 1);
    auto row = [&](int32_t y) { return src.data() + static_cast<size_t>(std::clamp(y, 0, lH - 1)) * lW; };
    for (int32_t y = -lR; y <= lR; ++y) {
        const float* r = row(y);
        for (int32_t x = 0; x < lW; ++x) sum[x] += r[x];
    }
    for (int32_t y = 0; y < lH; ++y) {
        float* dst = buf.data() + static_cast<size_t>(y) * lW;
        const float* in = row(y + lR + 1);
        const float* out = row(y - lR);
        for (int32_t x = 0; x < lW; ++x) {
            dst[x] = std::max(0.f, sum[x] * fNorm);  // no rounding below zero
            sum[x] += in[x] - out[x];
        }
    }
}

void blurBuffer(std::vector<float>& buf, int32_t lW, int32_t lH, int32_t lRx, int32_t lRy)
{
    for (int pass = 0; pass < 2; ++pass) {
        rowPass(buf, lW, lH, lRx);
        columnPass(buf, lW, lH, lRy);
    }
}

}  // namespace

uint64_t Rng::next()
{
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::gauss()
{
    const double u1 = std::max(uniform(), 1e-12), u2 = uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

// An empty layer whose box holds the points with lMargin to spare, clipped
// to the image.
static Layer boxOf(const Polygon& pts, int32_t lMargin, int32_t lW, int32_t lH)
{
    Layer l;
    if (pts.empty()) return l;
    float x0 = pts[0].x, x1 = x0, y0 = pts[0].y, y1 = y0;
    for (const Pt& p : pts) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    l.lX0 = std::max(0, static_cast<int32_t>(std::floor(x0)) - lMargin);
    l.lY0 = std::max(0, static_cast<int32_t>(std::floor(y0)) - lMargin);
    const int32_t lX1 = std::min(lW, static_cast<int32_t>(std::ceil(x1)) + lMargin + 1);
    const int32_t lY1 = std::min(lH, static_cast<int32_t>(std::ceil(y1)) + lMargin + 1);
    if (lX1 <= l.lX0 || lY1 <= l.lY0) return Layer();
    l.lW = lX1 - l.lX0;
    l.lH = lY1 - l.lY0;
    l.m.assign(static_cast<size_t>(l.lW) * l.lH, 0.f);
    return l;
}

Layer Layer::polygon(const Polygon& poly, int32_t lMargin, int32_t lW, int32_t lH)
{
    if (poly.size() < 3) return Layer();
    Layer l = boxOf(poly, lMargin, lW, lH);
    if (l.booEmpty()) return l;
    std::vector<float> xs;
    for (int32_t y = 0; y < l.lH; ++y) {
        const float yc = static_cast<float>(l.lY0 + y) + 0.5f;
        xs.clear();
        for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
            const Pt& a = poly[i];
            const Pt& b = poly[j];
            if ((a.y > yc) != (b.y > yc)) xs.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        float* row = l.m.data() + static_cast<size_t>(y) * l.lW;
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            // Pixel x covers [x, x+1): full inside the span, partial at its ends.
            const float fa = xs[k] - static_cast<float>(l.lX0), fb = xs[k + 1] - static_cast<float>(l.lX0);
            const int32_t la = std::max(0, static_cast<int32_t>(std::floor(fa)));
            const int32_t lb = std::min(l.lW - 1, static_cast<int32_t>(std::floor(fb)));
            for (int32_t x = la; x <= lb; ++x) {
                const float c = std::min(fb, static_cast<float>(x + 1)) - std::max(fa, static_cast<float>(x));
                if (c > 0) row[x] = std::min(1.f, row[x] + c);
            }
        }
    }
    return l;
}

Layer Layer::shapes(const std::vector<Polygon>& polys, int32_t lMargin, int32_t lW, int32_t lH)
{
    Polygon all;
    for (const Polygon& p : polys) all.insert(all.end(), p.begin(), p.end());
    Layer box = boxOf(all, lMargin, lW, lH);
    if (box.booEmpty()) return box;
    for (const Polygon& p : polys) {
        const Layer one = polygon(p, 0, lW, lH);
        for (int32_t y = 0; y < one.lH; ++y) {
            const int32_t by = one.lY0 + y - box.lY0;
            if (by < 0 || by >= box.lH) continue;
            for (int32_t x = 0; x < one.lW; ++x) {
                const int32_t bx = one.lX0 + x - box.lX0;
                if (bx < 0 || bx >= box.lW) continue;
                float& d = box.m[static_cast<size_t>(by) * box.lW + bx];
                d = std::max(d, one.m[static_cast<size_t>(y) * one.lW + x]);
            }
        }
    }
    return box;
}

Layer Layer::minus(const Layer& o) const
{
    return combined(o, [](float a, float b) { return std::max(0.f, a - b); });
}

Layer Layer::blurred(int32_t lRx, int32_t lRy) const&
{
    Layer l = *this;
    return std::move(l).blurred(lRx, lRy);
}

Layer Layer::blurred(int32_t lRx, int32_t lRy) &&
{
    blurBuffer(m, lW, lH, lRx, lRy);
    return std::move(*this);
}

Layer Layer::rim(int32_t lR) const
{
    Layer l = blurred(lR, lR);
    for (size_t i = 0; i < l.m.size(); ++i) l.m[i] = std::clamp(2.f * (m[i] - l.m[i]), 0.f, 1.f);
    return l;
}

void AttenMap::add(const Layer& layer, float fWeight)
{
    for (int32_t y = 0; y < layer.lH; ++y) {
        const float* src = layer.m.data() + static_cast<size_t>(y) * layer.lW;
        float* dst = a_.data() + static_cast<size_t>(layer.lY0 + y) * lW_ + layer.lX0;
        for (int32_t x = 0; x < layer.lW; ++x) dst[x] += fWeight * src[x];
    }
}

void AttenMap::addTextured(const Layer& layer, float fWeight, const std::vector<float>& texture, float fAmount)
{
    for (int32_t y = 0; y < layer.lH; ++y) {
        const size_t lOff = static_cast<size_t>(layer.lY0 + y) * lW_ + layer.lX0;
        const float* src = layer.m.data() + static_cast<size_t>(y) * layer.lW;
        const float* tex = texture.data() + lOff;
        float* dst = a_.data() + lOff;
        for (int32_t x = 0; x < layer.lW; ++x) dst[x] += fWeight * src[x] * (1.f + fAmount * tex[x]);
    }
}

std::vector<float> boneTexture(int32_t lW, int32_t lH, int32_t lGrain, uint64_t llSeed)
{
    // Noise on a coarse grid, band-passed there and spread bilinearly: cheap,
    // and the pattern's size follows the grain instead of the pixel.
    const int32_t lStep = std::max(1, lGrain / 2);
    const int32_t gw = lW / lStep + 2, gh = lH / lStep + 2;
    Rng rng(llSeed);
    std::vector<float> fine(static_cast<size_t>(gw) * gh);
    for (float& v : fine) v = static_cast<float>(rng.uniform() - 0.5);
    std::vector<float> coarse = fine;
    blurBuffer(fine, gw, gh, 1, 1);
    blurBuffer(coarse, gw, gh, 3, 3);
    double sq = 0;
    for (size_t i = 0; i < fine.size(); ++i) {
        fine[i] -= coarse[i];
        sq += static_cast<double>(fine[i]) * fine[i];
    }
    const float fScale = 1.f / static_cast<float>(std::sqrt(sq / static_cast<double>(fine.size())) + 1e-9);
    std::vector<float> out(static_cast<size_t>(lW) * lH);
    for (int32_t y = 0; y < lH; ++y) {
        const float gy = static_cast<float>(y) / lStep;
        const int32_t iy = static_cast<int32_t>(gy);
        const float fy = gy - iy;
        for (int32_t x = 0; x < lW; ++x) {
            const float gx = static_cast<float>(x) / lStep;
            const int32_t ix = static_cast<int32_t>(gx);
            const float fx = gx - ix;
            const float* r0 = fine.data() + static_cast<size_t>(iy) * gw + ix;
            const float* r1 = r0 + gw;
            const float v = (r0[0] * (1 - fx) + r0[1] * fx) * (1 - fy) + (r1[0] * (1 - fx) + r1[1] * fx) * fy;
            const float z = 1.5f * v * fScale;
            out[static_cast<size_t>(y) * lW + x] = z / (1.f + std::fabs(z));
        }
    }
    return out;
}

Polygon ellipse(float cx, float cy, float rx, float ry, float fAngle, int32_t lSteps)
{
    Polygon p;
    const float c = std::cos(fAngle), s = std::sin(fAngle);
    for (int32_t i = 0; i < lSteps; ++i) {
        const float t = 6.2831853f * static_cast<float>(i) / static_cast<float>(lSteps);
        const float ex = rx * std::cos(t), ey = ry * std::sin(t);
        p.push_back({cx + ex * c - ey * s, cy + ex * s + ey * c});
    }
    return p;
}

Polygon stroke(const Polygon& path, float fHalfWidth)
{
    Polygon left, right;
    for (size_t i = 0; i < path.size(); ++i) {
        const Pt& a = path[i == 0 ? 0 : i - 1];
        const Pt& b = path[i + 1 < path.size() ? i + 1 : i];
        float dx = b.x - a.x, dy = b.y - a.y;
        const float len = std::max(1e-6f, std::sqrt(dx * dx + dy * dy));
        dx /= len, dy /= len;
        left.push_back({path[i].x - dy * fHalfWidth, path[i].y + dx * fHalfWidth});
        right.push_back({path[i].x + dy * fHalfWidth, path[i].y - dx * fHalfWidth});
    }
    return between(left, right);
}

Polygon smoothPath(const Polygon& pts, int32_t lPer)
{
    if (pts.size() < 3) return pts;
    Polygon out;
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        const Pt& p0 = pts[i == 0 ? 0 : i - 1];
        const Pt& p1 = pts[i];
        const Pt& p2 = pts[i + 1];
        const Pt& p3 = pts[i + 2 < pts.size() ? i + 2 : i + 1];
        for (int32_t k = 0; k < lPer; ++k) {
            const float t = static_cast<float>(k) / static_cast<float>(lPer), t2 = t * t, t3 = t2 * t;
            auto cr = [&](float a, float b, float c, float d) {
                return 0.5f * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (-a + 3 * b - 3 * c + d) * t3);
            };
            out.push_back({cr(p0.x, p1.x, p2.x, p3.x), cr(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    out.push_back(pts.back());
    return out;
}

Polygon between(const Polygon& top, const Polygon& bottom)
{
    Polygon p = top;
    p.insert(p.end(), bottom.rbegin(), bottom.rend());
    return p;
}

Polygon mirrored(const Polygon& poly, float fAxis)
{
    Polygon p;
    p.reserve(poly.size());
    for (auto it = poly.rbegin(); it != poly.rend(); ++it) p.push_back({2 * fAxis - it->x, it->y});
    return p;
}

}  // namespace sim
