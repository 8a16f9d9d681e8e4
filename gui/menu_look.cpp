// MenuLook: measuring and drawing owner-drawn menu entries.
#include "gui/menu_look.h"

#include "gui/draw_context.h"

#include <cstring>

MenuLook::MenuLook() = default;

void MenuLook::forget() {
    if (referenceCount <= 0) return;
    if (--referenceCount == 0) delete this;
}

Point MenuLook::measure(DrawContext& context, const MenuItem& item) {
    if (item.kind == MenuItem::Kind::Separator) return Point(kSeparatorSize, kSeparatorSize);
    context.setFont(kFontId);
    return Point(context.getStringWidth(item.text) + kTextLeft, kItemHeight);
}

void MenuLook::draw(DrawContext& context, const Rect& rect, const MenuItem& item, int32_t state) {
    const bool selected = (state & kMenuItemSelected) != 0;
    // fillRect leaves the first row and column: start one before the entry.
    context.setFillColour(selected ? highlightColour : menuColour);
    context.fillRect(Rect(rect.left - 1, rect.top - 1, rect.right, rect.bottom));

    if (item.kind == MenuItem::Kind::Separator) {
        context.setFrameColour(BlackColour);
        context.moveTo(Point(rect.left + 2, rect.top + 2));
        context.lineTo(Point(rect.right - 2, rect.top + 2));
        context.setFrameColour(WhiteColour);
        context.moveTo(Point(rect.left + 2, rect.top + 3));
        context.lineTo(Point(rect.right - 2, rect.top + 3));
        return;
    }

    const Colour textColour = selected ? highlightTextColour : menuTextColour;
    if (state & kMenuItemChecked) {
        context.setFillColour(textColour);
        context.fillRect(Rect(rect.left + 5, rect.top + 3, rect.left + 14, rect.top + 12));
    }

    context.setFont(kFontId);
    context.setFontColour((state & kMenuItemDisabled) ? greyedColour : textColour);
    // drawString puts left-aligned text one pixel inside its rectangle.
    char before[256];
    const char* tab = std::strchr(item.text, '\t');
    size_t length = tab ? static_cast<size_t>(tab - item.text) : std::strlen(item.text);
    if (length > 255) length = 255;
    std::memcpy(before, item.text, length);
    before[length] = 0;
    context.drawString(before, Rect(rect.left + kTextLeft - 1, rect.top, rect.right, rect.bottom),
                       false, TextAlignLeft);
    if (tab)
        context.drawString(tab + 1,
                           Rect(rect.right - kTabColumn - 1, rect.top, rect.right, rect.bottom),
                           false, TextAlignLeft);
}
