// X11Presenter: surface rectangles to the window, shared memory first, XPutImage otherwise.
#include "gui/platform/x11/x11_presenter.h"

#include "gui/platform/pixel_surface.h"
#include "gui/platform/x11/x11_error_trap.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>

namespace {

bool hostIsLittleEndian() {
    const uint16_t probe = 1;
    uint8_t first = 0;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}

int lowestBit(unsigned long mask) {
    if (!mask) return 0;
    int bit = 0;
    while (!(mask & 1ul)) {
        mask >>= 1;
        ++bit;
    }
    return bit;
}

int bitCount(unsigned long mask) {
    int count = 0;
    for (; mask; mask >>= 1)
        count += static_cast<int>(mask & 1ul);
    return count;
}

bool sharedMemoryAllowed = true;

} // namespace

void X11Presenter::allowSharedMemory(bool allow) {
    sharedMemoryAllowed = allow;
}

X11Presenter::X11Presenter(Display* connection, ::Window target, Visual* format, int bitDepth,
                           int w, int h)
    : display(connection), window(target), visual(format), depth(bitDepth), width(w), height(h) {
    red = {lowestBit(visual->red_mask), bitCount(visual->red_mask)};
    green = {lowestBit(visual->green_mask), bitCount(visual->green_mask)};
    blue = {lowestBit(visual->blue_mask), bitCount(visual->blue_mask)};
    const unsigned long depthMask = depth >= 32 ? 0xfffffffful : ((1ul << depth) - 1ul);
    fillBits = depthMask & ~(visual->red_mask | visual->green_mask | visual->blue_mask);

    X11ErrorTrap trap(display);
    gc = XCreateGC(display, window, 0, nullptr);
    if (!trap.sync()) {
        gc = nullptr;
        return;
    }
    XSetGraphicsExposures(display, gc, False);
    attachSharedImage();
}

X11Presenter::~X11Presenter() {
    X11ErrorTrap trap(display);
    releaseSharedImage();
    if (gc) XFreeGC(display, gc);
}

void X11Presenter::attachSharedImage() {
    if (!sharedMemoryAllowed || !XShmQueryExtension(display)) return;
    XImage* image =
        XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &segment,
                        static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!image) return;
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * image->height;
    segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment.shmid < 0) {
        XDestroyImage(image);
        return;
    }
    void* memory = shmat(segment.shmid, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(segment.shmid, IPC_RMID, nullptr);
        XDestroyImage(image);
        return;
    }
    segment.shmaddr = image->data = static_cast<char*>(memory);
    segment.readOnly = False;
    // A server on another machine refuses the attach; the trap turns that into a fallback.
    X11ErrorTrap trap(display);
    const bool attached = XShmAttach(display, &segment) && trap.sync();
    // Marked for removal now: it disappears once both sides have detached, even after a crash.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (!attached) {
        shmdt(segment.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        segment = XShmSegmentInfo{};
        return;
    }
    sharedImage = image;
}

void X11Presenter::releaseSharedImage() {
    if (!sharedImage) return;
    XShmDetach(display, &segment);
    XSync(display, False);
    shmdt(segment.shmaddr);
    sharedImage->data = nullptr;
    XDestroyImage(sharedImage);
    sharedImage = nullptr;
}

bool X11Presenter::isNativeFormat(const XImage* image) const {
    // The surface's words can go out unchanged: 32 bits per pixel, red, green and blue in the
    // second, third and fourth byte from the top, same byte order as this machine.
    return image->bits_per_pixel == 32 && visual->red_mask == 0xff0000ul &&
           visual->green_mask == 0x00ff00ul && visual->blue_mask == 0x0000fful &&
           (image->byte_order == LSBFirst) == hostIsLittleEndian();
}

void X11Presenter::convertRows(const PixelSurface& surface, const platform::Area& area,
                               XImage* target, int targetX, int targetY) const {
    const bool native = isNativeFormat(target);
    const int columns = area.right - area.left;
    for (int y = area.top; y < area.bottom; ++y) {
        const uint32_t* source = surface.row(y) + area.left;
        const int row = targetY + (y - area.top);
        if (native && target->bits_per_pixel == 32) {
            auto* out =
                reinterpret_cast<uint32_t*>(target->data + row * target->bytes_per_line) + targetX;
            if (fillBits == 0) {
                std::memcpy(out, source, static_cast<size_t>(columns) * sizeof(uint32_t));
            } else {
                const auto fill = static_cast<uint32_t>(fillBits);
                for (int x = 0; x < columns; ++x)
                    out[x] = source[x] | fill;
            }
            continue;
        }
        for (int x = 0; x < columns; ++x) {
            const uint32_t pixel = source[x];
            auto channel = [](uint32_t value, const ChannelFormat& format) {
                const unsigned long scaled =
                    format.bits >= 8 ? (static_cast<unsigned long>(value) << (format.bits - 8))
                                     : (value >> (8 - format.bits));
                return scaled << format.shift;
            };
            const unsigned long out = channel((pixel >> 16) & 0xffu, red) |
                                      channel((pixel >> 8) & 0xffu, green) |
                                      channel(pixel & 0xffu, blue) | fillBits;
            XPutPixel(target, targetX + x, row, out);
        }
    }
}

void X11Presenter::put(const PixelSurface& surface, const platform::Area& area) {
    if (!gc || area.isEmpty()) return;
    const auto columns = static_cast<unsigned>(area.right - area.left);
    const auto rows = static_cast<unsigned>(area.bottom - area.top);
    if (sharedImage) {
        convertRows(surface, area, sharedImage, area.left, area.top);
        XShmPutImage(display, window, gc, sharedImage, area.left, area.top, area.left, area.top,
                     columns, rows, False);
        // The server reads the segment asynchronously: wait before it may be written again.
        XSync(display, False);
        return;
    }
    // Plain path: an image header over the surface itself when its format is the window's,
    // else over a scratch buffer holding the converted area.
    const int pad = 32;
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(surface.width),
                                 static_cast<unsigned>(surface.height), pad, 0);
    if (!image) return;
    if (isNativeFormat(image) && image->bytes_per_line == surface.width * 4 && fillBits == 0) {
        image->data = reinterpret_cast<char*>(const_cast<uint32_t*>(surface.pixels.data()));
        XPutImage(display, window, gc, image, area.left, area.top, area.left, area.top, columns,
                  rows);
    } else {
        image->width = static_cast<int>(columns);
        image->height = static_cast<int>(rows);
        image->bytes_per_line = 0;
        XInitImage(image);
        scratch.assign(static_cast<size_t>(image->bytes_per_line) * rows / 4 + 1, 0);
        image->data = reinterpret_cast<char*>(scratch.data());
        convertRows(surface, area, image, 0, 0);
        XPutImage(display, window, gc, image, 0, 0, area.left, area.top, columns, rows);
    }
    image->data = nullptr;
    XDestroyImage(image);
    XFlush(display);
}
