// DrawContext: the drawing state, the pixel rules of each operation (insets, offset, clip),
// text placement, and the pointer queries of drag loops.
#include "gui/draw_context.h"

#include "gui/raster.h"
#include "gui/text/font_engine.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <new>

namespace {

constexpr int32_t LocalPoints = 30;

int32_t saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

#if TOOLKIT_NEWER
// True when now lies outside the box of +-half pixels around start.
bool outsideBox(const Point& start, const Point& now, int64_t half) {
    const int64_t dh = static_cast<int64_t>(now.h) - start.h;
    const int64_t dv = static_cast<int64_t>(now.v) - start.v;
    return dh < -half || dh > half || dv < -half || dv > half;
}
#endif

// Points shifted by an offset, in a fixed buffer for small shapes and on the heap for larger
// ones; valid() is false when the heap buffer cannot be had.
class ShiftedPoints {
  public:
    ShiftedPoints(const Point* points, int32_t count, const Point& offset) {
        if (!points || count <= 0) return;
        if (count > LocalPoints) {
            heap.reset(new (std::nothrow) DevicePoint[count]);
            if (!heap) return;
            data = heap.get();
        }
        for (int32_t i = 0; i < count; ++i)
            data[i] = {static_cast<int64_t>(points[i].h) + offset.h,
                       static_cast<int64_t>(points[i].v) + offset.v};
        size = count;
    }
    bool valid() const { return size > 0; }
    const DevicePoint* get() const { return data; }
    int32_t count() const { return size; }

  private:
    DevicePoint local[LocalPoints];
    std::unique_ptr<DevicePoint[]> heap;
    DevicePoint* data = local;
    int32_t size = 0;
};

} // namespace

DrawContext::DrawContext(ContextHost* frame, PixelSurface* surface, PointerSource* window)
    : surface(surface), window(window), frame(frame) {
    clipRect = defaultClip();
    if (window) windowOffset = window->getWindowPosition();
    if (surface) adoptSurface();
}

DrawContext::~DrawContext() = default;

void DrawContext::adoptSurface() {
    setFrameColour(frameColour);
    setLineStyle(lineStyle);
    setFillColour(fillColour);
    setFontColour(fontColour);
}

Rect DrawContext::defaultClip() const {
    if (frame) return frame->getHostArea();
    return {0, 0, 1000, 1000};
}

RasterTarget DrawContext::target() const {
    const int32_t mode = (drawMode == DrawModeOr || drawMode == DrawModeNotXor) ? drawMode : 0;
    return {surface, getEffectiveClip(), mode};
}

Rect DrawContext::getEffectiveClip() const {
    if (!surface) return {};
    Rect clip(0, 0, surface->width, surface->height);
    auto limit = [&clip](const Rect& by) {
        clip.left = std::max(clip.left, by.left);
        clip.top = std::max(clip.top, by.top);
        clip.right = std::min(clip.right, by.right);
        clip.bottom = std::min(clip.bottom, by.bottom);
    };
    if (clipSelected) limit(clipRect);
    if (hasDeviceClip) limit(deviceClip);
    if (clip.right < clip.left) clip.right = clip.left;
    if (clip.bottom < clip.top) clip.bottom = clip.top;
    return clip;
}

void DrawContext::setDeviceClip(const Rect& rect) {
    deviceClip = rect;
    hasDeviceClip = true;
}

// ---- Lines and shapes ---------------------------------------------------------------------

void DrawContext::moveTo(const Point& point) {
    positionX = static_cast<int64_t>(point.h) + offset.h;
    positionY = static_cast<int64_t>(point.v) + offset.v;
}

void DrawContext::lineTo(const Point& point) {
    const DevicePoint path[2] = {
        {positionX, positionY},
        {static_cast<int64_t>(point.h) + offset.h, static_cast<int64_t>(point.v) + offset.v}};
    int32_t phase = 0;
    rasterPath(target(), {penPixel, penWidth, penDotted}, path, 2, phase);
    positionX = path[1].x;
    positionY = path[1].y;
}

void DrawContext::polyline(const Point* points, int32_t count) {
    const ShiftedPoints path(points, count, offset);
    if (!path.valid()) return;
    int32_t phase = 0;
    rasterPath(target(), {penPixel, penWidth, penDotted}, path.get(), path.count(), phase);
}

void DrawContext::fillPolygon(const Point* points, int32_t count) {
    const ShiftedPoints shape(points, count, offset);
    if (!shape.valid()) return;
    rasterPolygon(target(), shape.get(), shape.count(), brushPixel);
}

void DrawContext::drawRect(const Rect& rect) {
    const Point corners[5] = {{rect.left, rect.top},
                              {rect.right, rect.top},
                              {rect.right, rect.bottom},
                              {rect.left, rect.bottom},
                              {rect.left, rect.top}};
    polyline(corners, 5);
}

void DrawContext::fillRect(const Rect& rect) {
    const int64_t left = static_cast<int64_t>(rect.left) + 1 + offset.h;
    const int64_t top = static_cast<int64_t>(rect.top) + 1 + offset.v;
    const int64_t right = static_cast<int64_t>(rect.right) + offset.h;
    const int64_t bottom = static_cast<int64_t>(rect.bottom) + offset.v;
    rasterBox(target(), left, top, right, bottom, brushPixel);
}

void DrawContext::drawEllipse(const Rect& rect) {
    const Point top(saturate(rect.left + (static_cast<int64_t>(rect.right) - rect.left) / 2),
                    rect.top);
    drawArc(rect, top, top);
}

void DrawContext::fillEllipse(const Rect& rect) {
    const DeviceBox box{static_cast<int64_t>(rect.left) + 1 + offset.h,
                        static_cast<int64_t>(rect.top) + 1 + offset.v,
                        static_cast<int64_t>(rect.right) + 1 + offset.h,
                        static_cast<int64_t>(rect.bottom) + 1 + offset.v};
    rasterEllipseFill(target(), box, false, {}, {}, brushPixel);
}

void DrawContext::drawArc(const Rect& rect, const Point& start, const Point& end) {
    const DeviceBox box{static_cast<int64_t>(rect.left) + offset.h,
                        static_cast<int64_t>(rect.top) + offset.v,
                        static_cast<int64_t>(rect.right) + 1 + offset.h,
                        static_cast<int64_t>(rect.bottom) + 1 + offset.v};
    const DevicePoint from{static_cast<int64_t>(start.h) + offset.h,
                           static_cast<int64_t>(start.v) + offset.v};
    const DevicePoint to{static_cast<int64_t>(end.h) + offset.h,
                         static_cast<int64_t>(end.v) + offset.v};
    rasterEllipseOutline(target(), {penPixel, penWidth, penDotted}, box, true, from, to);
}

void DrawContext::fillArc(const Rect& rect, const Point& start, const Point& end) {
    const DeviceBox box{static_cast<int64_t>(rect.left) + 1 + offset.h,
                        static_cast<int64_t>(rect.top) + 1 + offset.v,
                        static_cast<int64_t>(rect.right) + offset.h,
                        static_cast<int64_t>(rect.bottom) + offset.v};
    const DevicePoint from{static_cast<int64_t>(start.h) + offset.h,
                           static_cast<int64_t>(start.v) + offset.v};
    const DevicePoint to{static_cast<int64_t>(end.h) + offset.h,
                         static_cast<int64_t>(end.v) + offset.v};
    rasterEllipseFill(target(), box, true, from, to, brushPixel);
}

void DrawContext::drawPoint(const Point& point, const Colour& colour) {
    if (!surface) return;
    const int64_t x = static_cast<int64_t>(point.h) + offset.h;
    const int64_t y = static_cast<int64_t>(point.v) + offset.v;
    const Rect clip = getEffectiveClip();
    if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
    surface->row(static_cast<int32_t>(y))[x] = colour.toPixel();
}

// ---- Drawing state ------------------------------------------------------------------------

void DrawContext::rebuildPen() {
    if (!surface) return;
    penPixel = frameColour.toPixel();
    penWidth = lineWidth;
    penDotted = lineStyle == LineDotted;
    ++changes.pen;
}

void DrawContext::setLineStyle(int32_t style) {
    lineStyle = style;
    rebuildPen();
}

void DrawContext::setLineWidth(int32_t width) {
    lineWidth = width;
    rebuildPen();
}

void DrawContext::setFrameColour(const Colour& colour) {
    frameColour = colour;
    rebuildPen();
}

void DrawContext::setFillColour(const Colour& colour) {
    fillColour = colour;
    if (!surface) return;
    backgroundPixel = colour.toPixel();
    brushPixel = backgroundPixel;
    ++changes.brush;
}

void DrawContext::setFontColour(const Colour& colour) {
    fontColour = colour;
    if (surface) textPixel = colour.toPixel();
}

void DrawContext::setDrawMode(int32_t mode) {
    if (mode == drawMode) return;
    drawMode = mode;
    if (surface) ++changes.mixMode;
}

void DrawContext::setClipRect(const Rect& rect) {
    if (rect == clipRect) return;
    clipRect = rect;
    if (!surface) return;
    clipSelected = true;
    ++changes.clipRegion;
}

Rect& DrawContext::getClipRect(Rect& rect) const {
    rect = clipRect;
    return rect;
}

void DrawContext::resetClipRect() {
    setClipRect(defaultClip());
}

// ---- Text ---------------------------------------------------------------------------------

#if TOOLKIT_NEWER
void DrawContext::setFont(int32_t id, int32_t size, int32_t style) {
    font = describeFont(id, size, style);
    fontId = font.id;
#else
void DrawContext::setFont(int32_t id, int32_t size) {
    font = describeFont(id, size);
#endif
    fontSize = font.size;
    hasFont = true;
    ++changes.font;
}

// Before any setFont, text uses the fallback font (id 0).
FontSpec DrawContext::currentFont() const {
    return hasFont ? font : describeFont(0, 0);
}

int32_t DrawContext::getStringWidth(const char* text) {
    if (!text) return 0;
    return FontEngine::instance().measure(currentFont(), text);
}

void DrawContext::drawString(const char* text, const Rect& rect, bool opaque, int32_t alignment) {
    if (!surface || !text || !*text) return;
    const FontSpec fontSpec = currentFont();
    FontEngine& engine = FontEngine::instance();
    LineMetrics metrics;
    if (!engine.lineMetrics(fontSpec, metrics)) return;
    const int64_t width = engine.measure(fontSpec, text);
    const int64_t left = static_cast<int64_t>(rect.left) + offset.h;
    const int64_t right = static_cast<int64_t>(rect.right) + offset.h;
    const int64_t top = static_cast<int64_t>(rect.top) + offset.v;
    const int64_t bottom = static_cast<int64_t>(rect.bottom) + offset.v;
    int64_t x;
    if (alignment == TextAlignCentre)
        x = left + (right - left - width) / 2;
    else if (alignment == TextAlignRight)
        x = right - width;
    else
        x = left + 1;
    const int64_t y = top + (bottom - top - metrics.height) / 2;
    engine.draw(*surface, getEffectiveClip(), x, y, fontSpec, text, textPixel,
                opaque ? &backgroundPixel : nullptr);
}

// ---- Reading and flood filling ------------------------------------------------------------

#if TOOLKIT_NEWER
Colour DrawContext::getPoint(const Point& point) const {
    // Pixels the device cannot read answer the invalid colour, all bits set.
    constexpr Colour invalid{255, 255, 255, BlackColour.alpha};
    if (!surface) return invalid;
    const int64_t x = static_cast<int64_t>(point.h) + offset.h;
    const int64_t y = static_cast<int64_t>(point.v) + offset.v;
    const Rect clip = getEffectiveClip();
    if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return invalid;
    Colour colour = Colour::fromPixel(surface->row(static_cast<int32_t>(y))[x]);
    colour.alpha = BlackColour.alpha;
    return colour;
}

void DrawContext::floodFill(const Point& point) {
    rasterFloodFill(target(), static_cast<int64_t>(point.h) + offset.h,
                    static_cast<int64_t>(point.v) + offset.v, brushPixel);
}
#endif

// ---- Input queries ------------------------------------------------------------------------

int32_t DrawContext::getMouseButtons() {
    return window ? window->getButtonState() : 0;
}

Point& DrawContext::getMouseLocation(Point& point) {
    if (!window) {
        point = Point(0, 0);
        return point;
    }
    const Point screen = window->getPointerPosition();
    point = Point(saturate(static_cast<int64_t>(screen.h) - windowOffset.h),
                  saturate(static_cast<int64_t>(screen.v) - windowOffset.v));
    return point;
}

bool DrawContext::waitDoubleClick() {
    if (!window) return false;
    const uint32_t limit = window->getDoubleClickTime() + window->getLastPressTime();
    // Tick arithmetic wraps; the signed difference orders times within 24 days of each other.
    auto expired = [&] { return static_cast<int32_t>(window->getTicks() - limit) >= 0; };
    if (expired()) return false;
#if TOOLKIT_NEWER
    Point start;
    getMouseLocation(start);
#endif
    for (;;) {
        if (window->takeLeftButtonPress()) return true;
#if TOOLKIT_NEWER
        Point now;
        if (outsideBox(start, getMouseLocation(now), 2)) return false;
#endif
        if (expired()) return false;
    }
}

#if TOOLKIT_NEWER
bool DrawContext::waitDrag() {
    if (!frame) return false;
    Point start;
    getMouseLocation(start);
    while (getMouseButtons() == MouseLeft) {
        frame->runIdlePump();
        Point now;
        if (outsideBox(start, getMouseLocation(now), 2)) return true;
    }
    return false;
}
#endif

// ---- Block copies -------------------------------------------------------------------------

void DrawContext::copyPixels(const PixelSurface& source, const Point& sourceOrigin,
                             const Rect& rect) {
    if (!surface) return;
    rasterCopy(*surface, getEffectiveClip(), source, sourceOrigin.h, sourceOrigin.v, rect.left,
               rect.top, rect.right, rect.bottom);
}

void DrawContext::copyPixelsKeyed(const PixelSurface& source, const Point& sourceOrigin,
                                  const Rect& rect, uint32_t key) {
    if (!surface) return;
    rasterCopy(*surface, getEffectiveClip(), source, sourceOrigin.h, sourceOrigin.v, rect.left,
               rect.top, rect.right, rect.bottom, &key);
}
