// The software rasteriser under DrawContext: pens, fills, ellipses, arcs, polygons, flood
// fill and block copies on a PixelSurface, in surface coordinates, limited to a clip.
//
// Coordinates are 64-bit so that any 32-bit coordinate plus any 32-bit offset is exact; every
// loop is bounded by the clip rectangle, never by the size of the shape. Stateless functions;
// the caller (the GUI thread) passes everything in.
#pragma once

#include "gui/geometry.h"
#include "gui/platform/pixel_surface.h"

#include <cstdint>

struct DevicePoint {
    int64_t x = 0;
    int64_t y = 0;
};

// A pixel box left <= x < right, top <= y < bottom.
struct DeviceBox {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
};

// Where and how pen and brush drawing lands: clip lies within the surface (left <= right and
// top <= bottom; an empty clip draws nothing); mode is 0 copy, 1 or, 2 not-xor.
struct RasterTarget {
    PixelSurface* surface = nullptr;
    Rect clip;
    int32_t mode = 0;
};

struct RasterPen {
    uint32_t pixel = 0;
    int32_t width = 1; // 0 and 1 draw one-pixel lines
    bool dotted = false;
};

// A pixel combined with the surface under it in a draw mode (24 significant bits).
inline uint32_t mixPixel(uint32_t destination, uint32_t source, int32_t mode) {
    if (mode == 1) return destination | source;
    if (mode == 2) return ~(destination ^ source) & 0x00FFFFFFu;
    return source;
}

// Pixels x0 <= x < x1 of row y.
void rasterSpan(const RasterTarget& target, int64_t y, int64_t x0, int64_t x1, uint32_t pixel);
// Pixels left <= x < right, top <= y < bottom.
void rasterBox(const RasterTarget& target, int64_t left, int64_t top, int64_t right, int64_t bottom,
               uint32_t pixel);

// A connected path through count points. One-pixel pens leave out each segment's last pixel
// (so every joint is drawn once) and, when dotted, run a 3-on 3-off pattern along the whole
// path; dashPhase carries the pattern between calls. Wider pens are solid with round caps and
// joins, each pixel painted once.
void rasterPath(const RasterTarget& target, const RasterPen& pen, const DevicePoint* points,
                int32_t count, int32_t& dashPhase);

// Polygon interior (even-odd rule) by pixel centres: right and bottom edges are left out.
void rasterPolygon(const RasterTarget& target, const DevicePoint* points, int32_t count,
                   uint32_t pixel);

// An ellipse inscribed in the pixel box left <= x < right, top <= y < bottom, or its part from
// the ray through start counter-clockwise to the ray through end (the whole ellipse when both
// rays coincide). Outline with the pen, or interior (a pie segment for a partial one).
void rasterEllipseOutline(const RasterTarget& target, const RasterPen& pen, const DeviceBox& box,
                          bool partial, const DevicePoint& start, const DevicePoint& end);
void rasterEllipseFill(const RasterTarget& target, const DeviceBox& box, bool partial,
                       const DevicePoint& start, const DevicePoint& end, uint32_t pixel);

// Replaces the 4-connected area of the seed's colour with pixel (copy mode), within the clip.
void rasterFloodFill(const RasterTarget& target, int64_t x, int64_t y, uint32_t pixel);

// Copies the block of target's size from source at sourceOrigin onto target, limited by clip
// and by the source's bounds (pixels outside the source are left alone). With a key, the
// destination is kept wherever the source pixel equals *key.
void rasterCopy(PixelSurface& destination, const Rect& clip, const PixelSurface& source,
                int64_t sourceX, int64_t sourceY, int64_t left, int64_t top, int64_t right,
                int64_t bottom, const uint32_t* key = nullptr);
