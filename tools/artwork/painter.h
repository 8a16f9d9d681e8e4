// Anti-aliased painting for the artwork generator. Shapes are signed distance functions
// (negative inside, in pixels); a shape is filled by evaluating it at every pixel centre of its
// bounding box, so edges get exact one-pixel anti-aliasing and soft edges (shadows, glows)
// come from widening the transition band.
#pragma once

#include "tools/artwork/image.h"

#include <functional>

namespace artwork {

using Shape = std::function<float(float x, float y)>;
using Paint = std::function<Rgb(float x, float y)>;

struct Box {
    float left, top, right, bottom;
};

// Shapes.
Shape circle(float cx, float cy, float radius);
Shape roundRect(float left, float top, float right, float bottom, float radius);
// A line segment of the given width with round ends.
Shape segment(float ax, float ay, float bx, float by, float width);
// A ring of the given width centred on `radius`, covering the clockwise angles from `from` to
// `to` (degrees, 0 at twelve o'clock), with round ends.
Shape arc(float cx, float cy, float radius, float width, float from, float to);
Shape subtract(Shape a, Shape b);
Shape intersect(Shape a, Shape b);

// Paints.
Paint solid(Rgb colour);
Paint verticalGradient(float top, float bottom, Rgb topColour, Rgb bottomColour);
Paint radialGradient(float cx, float cy, float radius, Rgb inner, Rgb outer);

// Fills `shape` inside `bounds` with `paint` at `opacity`. `softness` widens the edge to a
// transition of that many pixels on each side (0 gives the plain anti-aliased edge).
void fill(Image& image, const Box& bounds, const Shape& shape, const Paint& paint,
          float opacity = 1.0f, float softness = 0.0f);

// Adds a deterministic grain of +-amount to every pixel in `bounds` where `shape` is inside;
// horizontal streaks give a brushed-metal look.
void addBrushedGrain(Image& image, const Box& bounds, const Shape& shape, float amount,
                     uint32_t seed);

// Degrees (0 at twelve o'clock, clockwise) to the unit vector on screen (v grows downwards).
void direction(float degrees, float& dx, float& dy);

} // namespace artwork
