// DrawContext: a short-lived drawing state over a PixelSurface it does not own (frame, fill
// and font colours, pen width and style, draw mode, font, clip and coordinate offset), with the
// pixel rules every view draws by, and the mouse queries controls make while tracking a drag.
//
// State: offset (added once to every coordinate a drawing operation receives, never to the
// clip), window offset (screen position of the window, for pointer queries), the drawing
// state above, the recorded clip rectangle and whether it was selected, and a device clip the
// window system may impose (e.g. a paint region). All calls come from the host's GUI thread,
// inside one message or idle call; a context never outlives it.
#pragma once

#include "gui/colour.h"
#include "gui/context_host.h"
#include "gui/font.h"
#include "gui/geometry.h"
#include "gui/platform/pixel_surface.h"
#include "gui/pointer_source.h"
#include "gui/toolkit_variant.h"

#include <cstdint>

struct RasterTarget;

inline constexpr int32_t LineSolid = 0;
inline constexpr int32_t LineDotted = 1;

inline constexpr int32_t DrawModeCopy = 0;
inline constexpr int32_t DrawModeOr = 1;
inline constexpr int32_t DrawModeNotXor = 2;

inline constexpr int32_t TextAlignLeft = 0;
inline constexpr int32_t TextAlignCentre = 1;
inline constexpr int32_t TextAlignRight = 2;

// Bits of getMouseButtons().
inline constexpr int32_t MouseLeft = 1;
inline constexpr int32_t MouseMiddle = 2;
inline constexpr int32_t MouseRight = 4;
inline constexpr int32_t MouseShift = 8;
inline constexpr int32_t MouseControl = 16;
inline constexpr int32_t MouseAlt = 32;

// Counts of the device changes a context made; only changes of value touch the device.
struct DeviceChanges {
    int32_t mixMode = 0;
    int32_t clipRegion = 0;
    int32_t pen = 0;
    int32_t brush = 0;
    int32_t font = 0;
};

class DrawContext {
  public:
    // Any of the three may be null. `frame` is the frame that builds the context (its size is
    // the default clip, its idle pump runs while waitDrag waits). With a surface the pen, brush
    // and colours are made current; no font exists until setFont.
    DrawContext(ContextHost* frame, PixelSurface* surface, PointerSource* window);
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;
    virtual ~DrawContext();

    // Drawing; every coordinate is shifted by the offset.
    void moveTo(const Point& point);
    void lineTo(const Point& point); // the end pixel is not drawn (pen width 1)
    void polyline(const Point* points, int32_t count);
    void fillPolygon(const Point* points, int32_t count);
    void drawRect(const Rect& rect); // outline through all four corners
    void fillRect(const Rect& rect); // (left + 1, top + 1) up to, not including, (right, bottom)
    void drawEllipse(const Rect& rect);
    void fillEllipse(const Rect& rect);
    void drawArc(const Rect& rect, const Point& start, const Point& end);
    void fillArc(const Rect& rect, const Point& start, const Point& end);
    void drawPoint(const Point& point, const Colour& colour);

    // State.
    void setLineStyle(int32_t style);
    int32_t getLineStyle() const { return lineStyle; }
    void setLineWidth(int32_t width);
    int32_t getLineWidth() const { return lineWidth; }
    void setFrameColour(const Colour& colour);
    Colour getFrameColour() const { return frameColour; }
    void setFillColour(const Colour& colour);
    Colour getFillColour() const { return fillColour; }
    void setFontColour(const Colour& colour);
    Colour getFontColour() const { return fontColour; }
    void setDrawMode(int32_t mode);
    int32_t getDrawMode() const { return drawMode; }
    void setClipRect(const Rect& rect);
    Rect& getClipRect(Rect& rect) const;
    void resetClipRect();

#if TOOLKIT_NEWER
    void setFont(int32_t fontId, int32_t size = 0, int32_t style = 0);
    int32_t getFontId() const {
        return fontId;
    }
#else
    void setFont(int32_t fontId, int32_t size = 0);
#endif
    int32_t getFontSize() const {
        return fontSize;
    }
    // The font setFont selected, or null before the first setFont.
    const FontSpec* getFont() const {
        return hasFont ? &font : nullptr;
    }
    int32_t getStringWidth(const char* text);
    // One line, vertically centred in rect, not clipped to it. Alignment 1 centres, 2 aligns
    // right, anything else aligns left one pixel inside rect.left. Opaque text sits on the
    // fill colour.
    void drawString(const char* text, const Rect& rect, bool opaque = false,
                    int32_t alignment = TextAlignCentre);

#if TOOLKIT_NEWER
    // The pixel at the shifted point, alpha 0; white outside the surface or the clip.
    Colour getPoint(const Point& point) const;
    // Fills the 4-connected area around the shifted point that has that point's colour.
    void floodFill(const Point& point);
#endif

    // Input queries.
    int32_t getMouseButtons();
    Point& getMouseLocation(Point& point);
    bool waitDoubleClick();
#if TOOLKIT_NEWER
    bool waitDrag();
#endif

    // Offset and window position.
    void setOffset(const Point& point) {
        offset = point;
    }
    const Point& getOffset() const {
        return offset;
    }
    void offsetBy(int32_t dh, int32_t dv) {
        offset.offset(dh, dv);
    }
    void setWindowOffset(const Point& point) {
        windowOffset = point;
    }
    const Point& getWindowOffset() const {
        return windowOffset;
    }

    ContextHost* getFrame() const {
        return frame;
    }
    PixelSurface* getSurface() const {
        return surface;
    }
    PointerSource* getWindow() const {
        return window;
    }

    // A limit the window system puts on the device beyond the clip rectangle (a paint
    // region), in surface coordinates; not part of the drawing state.
    void setDeviceClip(const Rect& rect);
    void clearDeviceClip() {
        hasDeviceClip = false;
    }

    // The rectangle of surface pixels drawing may touch now: surface bounds, the selected clip
    // region and the device clip intersected (empty without a surface).
    Rect getEffectiveClip() const;

    // Block copies in surface coordinates, limited by getEffectiveClip() and the source's
    // bounds. copyPixelsKeyed leaves the destination wherever the source pixel equals key.
    void copyPixels(const PixelSurface& source, const Point& sourceOrigin, const Rect& target);
    void copyPixelsKeyed(const PixelSurface& source, const Point& sourceOrigin, const Rect& target,
                         uint32_t key);

    const DeviceChanges& getDeviceChanges() const {
        return changes;
    }

  protected:
    void rebuildPen();
    // Makes the pen, brush and colours of the drawing state current on the surface.
    void adoptSurface();
    Rect defaultClip() const;
    FontSpec currentFont() const;
    // The clip for pen and brush drawing, with the current draw mode.
    RasterTarget target() const;

    Point windowOffset;
    Point offset;
    PixelSurface* surface;
    PointerSource* window;
    ContextHost* frame;
    int32_t fontSize = 0;
#if TOOLKIT_NEWER
    int32_t fontId = 0;
#endif
    Colour fontColour = WhiteColour;
    int32_t lineWidth = 1;
    Colour frameColour = WhiteColour;
    Colour fillColour = BlackColour;
    int32_t lineStyle = LineSolid;
    int32_t drawMode = DrawModeCopy;
    Rect clipRect;

    // Device state: the pen, brush and background colour in effect, the current position.
    uint32_t penPixel = 0;
    int32_t penWidth = 1;
    bool penDotted = false;
    uint32_t brushPixel = 0;
    uint32_t backgroundPixel = 0;
    uint32_t textPixel = 0;
    int64_t positionX = 0;
    int64_t positionY = 0;
    bool clipSelected = false;
    bool hasDeviceClip = false;
    Rect deviceClip;
    FontSpec font;
    bool hasFont = false;
    DeviceChanges changes;
};
