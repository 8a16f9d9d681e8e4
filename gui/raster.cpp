// The software rasteriser: exact integer lines, coverage masks for wide pens, analytic spans
// for ellipses and polygons, scanline flood fill and clipped block copies.
#include "gui/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <numbers>
#include <vector>

namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;

bool clipEmpty(const Rect& clip) {
    return clip.left >= clip.right || clip.top >= clip.bottom;
}

// floor((2 i minor + major) / (2 major)) for 0 <= i, 0 <= minor <= major, 0 < major (all
// below 2^62), with its remainder: the minor-axis offset of step i of an exact line. The
// product needs more than 64 bits, and not every target has a 128-bit type: it is formed from
// 32-bit halves and divided bit by bit, once per line.
struct LineOffset {
    uint64_t quotient = 0;
    uint64_t remainder = 0;
};

LineOffset lineOffset(uint64_t i, uint64_t minor, uint64_t major) {
    const uint64_t a = 2 * i;
    const uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
    const uint64_t bLow = minor & 0xFFFFFFFFu, bHigh = minor >> 32;
    const uint64_t lowLow = aLow * bLow;
    const uint64_t middle1 = aHigh * bLow;
    const uint64_t middle2 = aLow * bHigh;
    const uint64_t middle = (lowLow >> 32) + (middle1 & 0xFFFFFFFFu) + (middle2 & 0xFFFFFFFFu);
    uint64_t high = aHigh * bHigh + (middle1 >> 32) + (middle2 >> 32) + (middle >> 32);
    uint64_t low = (middle << 32) | (lowLow & 0xFFFFFFFFu);
    low += major;
    if (low < major) ++high;
    const uint64_t divisor = 2 * major;
    LineOffset result;
    for (int bit = 127; bit >= 0; --bit) {
        // The remainder stays below the divisor (< 2^63), so doubling it cannot overflow.
        result.remainder =
            (result.remainder << 1) | ((bit >= 64 ? high >> (bit - 64) : low >> bit) & 1u);
        result.quotient <<= 1;
        if (result.remainder >= divisor) {
            result.remainder -= divisor;
            result.quotient |= 1u;
        }
    }
    return result;
}

// Largest integer strictly below value, and smallest strictly above.
int64_t floorBelow(double value) {
    return static_cast<int64_t>(std::ceil(value)) - 1;
}
int64_t ceilAbove(double value) {
    return static_cast<int64_t>(std::floor(value)) + 1;
}

double clampToRange(double value) {
    return std::clamp(value, -4.0e18, 4.0e18);
}

void mixAt(const RasterTarget& target, int64_t x, int64_t y, uint32_t pixel) {
    uint32_t& slot = target.surface->row(static_cast<int32_t>(y))[x];
    slot = mixPixel(slot, pixel, target.mode);
}

bool insideClip(const Rect& clip, int64_t x, int64_t y) {
    return x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
}

// One-pixel line from (x0, y0) towards (x1, y1), its last pixel left out. The pixel of step i
// along the major axis is found in closed form, so only the steps inside the clip are visited.
void cosmeticSegment(const RasterTarget& target, const RasterPen& pen, DevicePoint from,
                     DevicePoint to, int32_t& dashPhase) {
    const int64_t dx = to.x - from.x;
    const int64_t dy = to.y - from.y;
    const int64_t adx = dx < 0 ? -dx : dx;
    const int64_t ady = dy < 0 ? -dy : dy;
    const int64_t steps = std::max(adx, ady);
    if (steps == 0) return;
    const bool xMajor = adx >= ady;
    const int64_t major0 = xMajor ? from.x : from.y;
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minor0 = xMajor ? from.y : from.x;
    const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t majorLength = xMajor ? adx : ady;
    const int64_t minorLength = xMajor ? ady : adx;
    const Rect& clip = target.clip;
    const int64_t low = xMajor ? clip.left : clip.top;
    const int64_t high = xMajor ? clip.right : clip.bottom; // exclusive

    int64_t first = 0;
    int64_t last = steps; // exclusive
    if (majorStep > 0) {
        first = std::max<int64_t>(first, low - major0);
        last = std::min<int64_t>(last, high - major0);
    } else {
        first = std::max<int64_t>(first, major0 - high + 1);
        last = std::min<int64_t>(last, major0 - low + 1);
    }
    const int32_t phase = dashPhase;
    dashPhase = static_cast<int32_t>((phase + steps % 6) % 6);
    if (first >= last) return;
    // Each step adds 2 minor to the numerator: at most one more unit of offset, as minor <= major.
    LineOffset offset = lineOffset(static_cast<uint64_t>(first), static_cast<uint64_t>(minorLength),
                                   static_cast<uint64_t>(majorLength));
    const uint64_t twoMinor = 2 * static_cast<uint64_t>(minorLength);
    const uint64_t twoMajor = 2 * static_cast<uint64_t>(majorLength);
    for (int64_t i = first; i < last; ++i) {
        const int64_t minorOffset = static_cast<int64_t>(offset.quotient);
        offset.remainder += twoMinor;
        if (offset.remainder >= twoMajor) {
            offset.remainder -= twoMajor;
            ++offset.quotient;
        }
        if (pen.dotted && (phase + i) % 6 >= 3) continue;
        const int64_t major = major0 + majorStep * i;
        const int64_t minor = minor0 + minorStep * minorOffset;
        const int64_t x = xMajor ? major : minor;
        const int64_t y = xMajor ? minor : major;
        if (insideClip(clip, x, y)) mixAt(target, x, y, pen.pixel);
    }
}

// Interval of x where lo <= c0 + c1 * x <= hi, intersected into [xl, xr]; false when empty.
bool narrowLinear(double c0, double c1, double lo, double hi, double& xl, double& xr) {
    if (c1 == 0.0) return c0 > lo && c0 < hi;
    double a = (lo - c0) / c1;
    double b = (hi - c0) / c1;
    if (a > b) std::swap(a, b);
    xl = std::max(xl, a);
    xr = std::min(xr, b);
    return xl < xr;
}

// Coverage of a wide pen's stroke over a rectangle of the clip, painted once at the end.
class StrokeMask {
  public:
    StrokeMask(const Rect& area) : area(area) {
        const size_t size = static_cast<size_t>(area.getWidth()) * area.getHeight();
        cells = std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]());
    }
    bool valid() const { return cells != nullptr; }

    void markSpan(int64_t y, int64_t x0, int64_t x1) {
        if (y < area.top || y >= area.bottom) return;
        x0 = std::max<int64_t>(x0, area.left);
        x1 = std::min<int64_t>(x1, area.right);
        if (x0 >= x1) return;
        uint8_t* row = cells.get() + static_cast<size_t>(y - area.top) * area.getWidth();
        std::memset(row + (x0 - area.left), 1, static_cast<size_t>(x1 - x0));
    }

    // A capsule of radius r around the segment a-b (continuous coordinates): pixels whose
    // centres lie closer than r to the segment.
    void markCapsule(double ax, double ay, double bx, double by, double r) {
        const int64_t top = std::max<int64_t>(area.top, floorBelow(std::min(ay, by) - r - 0.5));
        const int64_t bottom =
            std::min<int64_t>(area.bottom, ceilAbove(std::max(ay, by) + r - 0.5));
        const double ux = bx - ax;
        const double uy = by - ay;
        const double length = std::sqrt(ux * ux + uy * uy);
        for (int64_t y = top; y < bottom; ++y) {
            const double yc = static_cast<double>(y) + 0.5;
            double xl = 1e300;
            double xr = -1e300;
            auto circle = [&](double cx, double cy) {
                const double d = yc - cy;
                const double q = r * r - d * d;
                if (q <= 0.0) return;
                const double w = std::sqrt(q);
                xl = std::min(xl, cx - w);
                xr = std::max(xr, cx + w);
            };
            circle(ax, ay);
            circle(bx, by);
            if (length > 0.0) {
                // Band: |(p - a) . n| < r and 0 <= (p - a) . u <= length, on p = (x, yc).
                const double nx = -uy / length;
                const double ny = ux / length;
                double bl = -1e300;
                double br = 1e300;
                const bool across = narrowLinear((yc - ay) * ny - ax * nx, nx, -r, r, bl, br) &&
                                    narrowLinear(((yc - ay) * uy - ax * ux) / length, ux / length,
                                                 0.0, length, bl, br);
                if (across) {
                    xl = std::min(xl, bl);
                    xr = std::max(xr, br);
                }
            }
            if (xl >= xr) continue;
            markSpan(y, ceilAbove(clampToRange(xl - 0.5)), floorBelow(clampToRange(xr - 0.5)) + 1);
        }
    }

    void paint(const RasterTarget& target, uint32_t pixel) const {
        const int32_t width = area.getWidth();
        for (int32_t y = area.top; y < area.bottom; ++y) {
            const uint8_t* row = cells.get() + static_cast<size_t>(y - area.top) * width;
            uint32_t* out = target.surface->row(y);
            for (int32_t i = 0; i < width; ++i)
                if (row[i]) {
                    uint32_t& slot = out[area.left + i];
                    slot = mixPixel(slot, pixel, target.mode);
                }
        }
    }

  private:
    Rect area;
    std::unique_ptr<uint8_t[]> cells;
};

// The clip part that a shape with these bounds (inclusive pixel range) can reach.
Rect reach(const Rect& clip, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    Rect area;
    area.left = static_cast<int32_t>(std::clamp<int64_t>(left, clip.left, clip.right));
    area.right = static_cast<int32_t>(std::clamp<int64_t>(right + 1, area.left, clip.right));
    area.top = static_cast<int32_t>(std::clamp<int64_t>(top, clip.top, clip.bottom));
    area.bottom = static_cast<int32_t>(std::clamp<int64_t>(bottom + 1, area.top, clip.bottom));
    return area;
}

// Centre and semi-axes of the ellipse inscribed in a pixel box.
struct EllipseShape {
    double cx, cy, a, b;
    explicit EllipseShape(const DeviceBox& box)
        : cx((static_cast<double>(box.left) + box.right) * 0.5),
          cy((static_cast<double>(box.top) + box.bottom) * 0.5),
          a((static_cast<double>(box.right) - box.left) * 0.5),
          b((static_cast<double>(box.bottom) - box.top) * 0.5) {}

    // Pixels x0 <= x < x1 of row y whose centres lie inside the ellipse with semi-axes
    // (sa, sb) about the same centre; false when the row misses it.
    bool span(int64_t y, double sa, double sb, int64_t& x0, int64_t& x1) const {
        if (sa <= 0.0 || sb <= 0.0) return false;
        const double t = (static_cast<double>(y) + 0.5 - cy) / sb;
        if (t < -1.0 || t > 1.0) return false;
        const double half = sa * std::sqrt(1.0 - t * t);
        x0 = static_cast<int64_t>(std::ceil(clampToRange(cx - half - 0.5)));
        x1 = static_cast<int64_t>(std::floor(clampToRange(cx + half - 0.5))) + 1;
        return x0 < x1;
    }
};

// Angles measured about the ellipse's centre with up positive; a pixel's angle is taken at its
// centre. Sweep is the counter-clockwise angle from the start ray, in [0, 2 pi).
struct AngleRange {
    double startAngle = 0.0;
    double sweep = 0.0;
    bool full = true;

    AngleRange(const EllipseShape& shape, bool partial, const DevicePoint& start,
               const DevicePoint& end) {
        if (!partial) return;
        startAngle =
            angleOf(shape, static_cast<double>(start.x) + 0.5, static_cast<double>(start.y) + 0.5);
        sweep = relative(
            angleOf(shape, static_cast<double>(end.x) + 0.5, static_cast<double>(end.y) + 0.5));
        full = sweep == 0.0;
    }
    static double angleOf(const EllipseShape& shape, double x, double y) {
        return std::atan2(shape.cy - y, x - shape.cx);
    }
    double relative(double angle) const {
        double r = std::fmod(angle - startAngle, TwoPi);
        if (r < 0.0) r += TwoPi;
        return r;
    }
    double ofPixel(const EllipseShape& shape, int64_t x, int64_t y) const {
        return relative(angleOf(shape, static_cast<double>(x) + 0.5, static_cast<double>(y) + 0.5));
    }
    bool contains(const EllipseShape& shape, int64_t x, int64_t y) const {
        return full || ofPixel(shape, x, y) <= sweep;
    }
};

struct OutlinePixel {
    double angle;
    int32_t x, y;
};

} // namespace

void rasterSpan(const RasterTarget& target, int64_t y, int64_t x0, int64_t x1, uint32_t pixel) {
    const Rect& clip = target.clip;
    if (y < clip.top || y >= clip.bottom) return;
    x0 = std::max<int64_t>(x0, clip.left);
    x1 = std::min<int64_t>(x1, clip.right);
    if (x0 >= x1) return;
    uint32_t* row = target.surface->row(static_cast<int32_t>(y));
    if (target.mode == 0) {
        std::fill(row + x0, row + x1, pixel);
        return;
    }
    for (int64_t x = x0; x < x1; ++x)
        row[x] = mixPixel(row[x], pixel, target.mode);
}

void rasterBox(const RasterTarget& target, int64_t left, int64_t top, int64_t right, int64_t bottom,
               uint32_t pixel) {
    if (!target.surface || clipEmpty(target.clip)) return;
    top = std::max<int64_t>(top, target.clip.top);
    bottom = std::min<int64_t>(bottom, target.clip.bottom);
    for (int64_t y = top; y < bottom; ++y)
        rasterSpan(target, y, left, right, pixel);
}

void rasterPath(const RasterTarget& target, const RasterPen& pen, const DevicePoint* points,
                int32_t count, int32_t& dashPhase) {
    if (!target.surface || !points || count < 2 || clipEmpty(target.clip)) return;
    if (pen.width <= 1) {
        for (int32_t i = 1; i < count; ++i)
            cosmeticSegment(target, pen, points[i - 1], points[i], dashPhase);
        return;
    }
    // Wide pens: a line between integer points runs through pixel centres for odd widths and
    // along pixel corners for even ones, so the stroke covers exactly width rows or columns.
    const double shift = (pen.width % 2) ? 0.5 : 0.0;
    const double r = pen.width * 0.5;
    int64_t left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
    for (int32_t i = 1; i < count; ++i) {
        left = std::min(left, points[i].x);
        right = std::max(right, points[i].x);
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    const int64_t grow = pen.width / 2 + 2;
    const Rect area = reach(target.clip, left - grow, top - grow, right + grow, bottom + grow);
    if (area.left >= area.right || area.top >= area.bottom) return;
    StrokeMask mask(area);
    if (!mask.valid()) return;
    for (int32_t i = 1; i < count; ++i)
        mask.markCapsule(static_cast<double>(points[i - 1].x) + shift,
                         static_cast<double>(points[i - 1].y) + shift,
                         static_cast<double>(points[i].x) + shift,
                         static_cast<double>(points[i].y) + shift, r);
    mask.paint(target, pen.pixel);
}

void rasterPolygon(const RasterTarget& target, const DevicePoint* points, int32_t count,
                   uint32_t pixel) {
    if (!target.surface || !points || count < 3 || clipEmpty(target.clip)) return;
    int64_t top = points[0].y, bottom = points[0].y;
    for (int32_t i = 1; i < count; ++i) {
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    top = std::max<int64_t>(top, target.clip.top);
    bottom = std::min<int64_t>(bottom, target.clip.bottom);
    if (top >= bottom) return;

    constexpr int32_t LocalCrossings = 32;
    double local[LocalCrossings];
    std::unique_ptr<double[]> heap;
    double* crossings = local;
    if (count > LocalCrossings) {
        heap.reset(new (std::nothrow) double[count]);
        if (!heap) return;
        crossings = heap.get();
    }
    for (int64_t y = top; y < bottom; ++y) {
        const double yc = static_cast<double>(y) + 0.5;
        int32_t found = 0;
        for (int32_t i = 0; i < count; ++i) {
            const DevicePoint& a = points[i];
            const DevicePoint& b = points[(i + 1) % count];
            const bool aBelow = static_cast<double>(a.y) <= yc;
            const bool bBelow = static_cast<double>(b.y) <= yc;
            if (aBelow == bBelow) continue;
            const double t = (yc - static_cast<double>(a.y)) / static_cast<double>(b.y - a.y);
            crossings[found++] = static_cast<double>(a.x) + t * static_cast<double>(b.x - a.x);
        }
        std::sort(crossings, crossings + found);
        for (int32_t i = 0; i + 1 < found; i += 2) {
            const int64_t x0 = static_cast<int64_t>(std::ceil(clampToRange(crossings[i] - 0.5)));
            const int64_t x1 =
                static_cast<int64_t>(std::ceil(clampToRange(crossings[i + 1] - 0.5)));
            rasterSpan(target, y, x0, x1, pixel);
        }
    }
}

void rasterEllipseOutline(const RasterTarget& target, const RasterPen& pen, const DeviceBox& box,
                          bool partial, const DevicePoint& start, const DevicePoint& end) {
    if (!target.surface || clipEmpty(target.clip)) return;
    const EllipseShape shape(box);
    if (shape.a <= 0.0 || shape.b <= 0.0) return;
    const AngleRange range(shape, partial, start, end);
    const int32_t width = pen.width <= 1 ? 1 : pen.width;
    const int64_t grow = width / 2 + 1;
    const Rect area =
        reach(target.clip, box.left - grow, box.top - grow, box.right + grow, box.bottom + grow);
    if (area.left >= area.right || area.top >= area.bottom) return;

    const bool dotted = pen.dotted && width == 1;
    std::vector<OutlinePixel> ordered;
    auto emit = [&](int64_t y, int64_t x0, int64_t x1) {
        x0 = std::max<int64_t>(x0, area.left);
        x1 = std::min<int64_t>(x1, area.right);
        for (int64_t x = x0; x < x1; ++x) {
            if (!range.contains(shape, x, y)) continue;
            if (dotted)
                ordered.push_back(
                    {range.ofPixel(shape, x, y), static_cast<int32_t>(x), static_cast<int32_t>(y)});
            else
                mixAt(target, x, y, pen.pixel);
        }
    };

    if (width == 1) {
        // The inner boundary of the filled ellipse: inside pixels with a 4-neighbour outside.
        for (int64_t y = area.top; y < area.bottom; ++y) {
            int64_t s0, s1;
            if (!shape.span(y, shape.a, shape.b, s0, s1)) continue;
            int64_t u0 = 0, u1 = 0, d0 = 0, d1 = 0;
            const bool up = shape.span(y - 1, shape.a, shape.b, u0, u1);
            const bool down = shape.span(y + 1, shape.a, shape.b, d0, d1);
            int64_t i0 = s0 + 1, i1 = s1 - 1; // interior candidates, half-open
            if (up && down) {
                i0 = std::max({i0, u0, d0});
                i1 = std::min({i1, u1, d1});
            } else {
                i1 = i0;
            }
            if (i0 >= i1) {
                emit(y, s0, s1);
            } else {
                emit(y, s0, i0);
                emit(y, i1, s1);
            }
        }
    } else {
        // A ring of the pen's width centred on the one-pixel outline.
        const double outer = width * 0.5 - 0.5;
        const double inner = -width * 0.5 - 0.5;
        for (int64_t y = area.top; y < area.bottom; ++y) {
            int64_t o0, o1;
            if (!shape.span(y, shape.a + outer, shape.b + outer, o0, o1)) continue;
            int64_t h0, h1;
            if (!shape.span(y, shape.a + inner, shape.b + inner, h0, h1)) {
                emit(y, o0, o1);
            } else {
                emit(y, o0, std::max(o0, h0));
                emit(y, std::min(o1, h1), o1);
            }
        }
    }
    if (!dotted) return;
    std::sort(ordered.begin(), ordered.end(),
              [](const OutlinePixel& p, const OutlinePixel& q) { return p.angle < q.angle; });
    for (size_t i = 0; i < ordered.size(); ++i)
        if (i % 6 < 3) mixAt(target, ordered[i].x, ordered[i].y, pen.pixel);
}

void rasterEllipseFill(const RasterTarget& target, const DeviceBox& box, bool partial,
                       const DevicePoint& start, const DevicePoint& end, uint32_t pixel) {
    if (!target.surface || clipEmpty(target.clip)) return;
    const EllipseShape shape(box);
    if (shape.a <= 0.0 || shape.b <= 0.0) return;
    const AngleRange range(shape, partial, start, end);
    const Rect area = reach(target.clip, box.left, box.top, box.right, box.bottom);
    for (int64_t y = area.top; y < area.bottom; ++y) {
        int64_t x0, x1;
        if (!shape.span(y, shape.a, shape.b, x0, x1)) continue;
        if (range.full) {
            rasterSpan(target, y, x0, x1, pixel);
            continue;
        }
        x0 = std::max<int64_t>(x0, area.left);
        x1 = std::min<int64_t>(x1, area.right);
        for (int64_t x = x0; x < x1; ++x)
            if (range.contains(shape, x, y)) mixAt(target, x, y, pixel);
    }
}

void rasterFloodFill(const RasterTarget& target, int64_t x, int64_t y, uint32_t pixel) {
    const Rect& clip = target.clip;
    if (!target.surface || !insideClip(clip, x, y)) return;
    PixelSurface& surface = *target.surface;
    const uint32_t seed = surface.row(static_cast<int32_t>(y))[x];
    pixel &= 0x00FFFFFFu;
    if (seed == pixel) return;
    struct Seed {
        int32_t x, y;
    };
    std::vector<Seed> stack;
    stack.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y)});
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        uint32_t* row = surface.row(s.y);
        if (row[s.x] != seed) continue;
        int32_t x0 = s.x;
        while (x0 > clip.left && row[x0 - 1] == seed)
            --x0;
        int32_t x1 = s.x + 1;
        while (x1 < clip.right && row[x1] == seed)
            ++x1;
        std::fill(row + x0, row + x1, pixel);
        for (const int32_t ny : {s.y - 1, s.y + 1}) {
            if (ny < clip.top || ny >= clip.bottom) continue;
            const uint32_t* next = surface.row(ny);
            for (int32_t nx = x0; nx < x1; ++nx)
                if (next[nx] == seed && (nx == x0 || next[nx - 1] != seed))
                    stack.push_back({nx, ny});
        }
    }
}

void rasterCopy(PixelSurface& destination, const Rect& clip, const PixelSurface& source,
                int64_t sourceX, int64_t sourceY, int64_t left, int64_t top, int64_t right,
                int64_t bottom, const uint32_t* key) {
    // Limit the destination block by the clip and by where the source has pixels.
    int64_t x0 = std::max<int64_t>({left, clip.left, left + (0 - sourceX)});
    int64_t y0 = std::max<int64_t>({top, clip.top, top + (0 - sourceY)});
    int64_t x1 = std::min<int64_t>({right, clip.right, left + (source.width - sourceX)});
    int64_t y1 = std::min<int64_t>({bottom, clip.bottom, top + (source.height - sourceY)});
    x0 = std::max<int64_t>(x0, 0);
    y0 = std::max<int64_t>(y0, 0);
    x1 = std::min<int64_t>(x1, destination.width);
    y1 = std::min<int64_t>(y1, destination.height);
    if (x0 >= x1 || y0 >= y1) return;
    const int64_t dx = sourceX - left;
    const int64_t dy = sourceY - top;
    const size_t count = static_cast<size_t>(x1 - x0);

    // A copy within one surface reads every source row before it is overwritten.
    std::vector<uint32_t> staging;
    const bool same = &destination == &source;
    if (same) {
        staging.resize(count * static_cast<size_t>(y1 - y0));
        for (int64_t y = y0; y < y1; ++y)
            std::memcpy(staging.data() + (y - y0) * count,
                        source.row(static_cast<int32_t>(y + dy)) + (x0 + dx),
                        count * sizeof(uint32_t));
    }
    for (int64_t y = y0; y < y1; ++y) {
        const uint32_t* from = same ? staging.data() + (y - y0) * count
                                    : source.row(static_cast<int32_t>(y + dy)) + (x0 + dx);
        uint32_t* to = destination.row(static_cast<int32_t>(y)) + x0;
        if (!key) {
            std::memcpy(to, from, count * sizeof(uint32_t));
            continue;
        }
        for (size_t i = 0; i < count; ++i)
            if (from[i] != *key) to[i] = from[i];
    }
}
