// The file strip: the open key's press, the display's fitting of long paths and texts, and the
// drop catcher.
#include "tests/showcase/file_strip.h"

#include "gui/bitmap.h"
#include "gui/control_support.h"
#include "gui/draw_context.h"
#include "gui/editor_frame.h"

#include <cstring>
#include <utility>

namespace {

// More than any line can show: longer bodies are cut before fitting, so a dropped book is
// not measured whole.
constexpr size_t kLongestBody = 4096;
const char* const kEllipsis = "...";

// The code point of the UTF-8 sequence at text[i] and its length; 0 when it is no valid
// sequence there.
size_t utf8Sequence(const std::string& text, size_t i, uint32_t& code) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    if (lead < 0x80) return code = lead, 1;
    if (lead >= 0xc2 && lead < 0xe0)
        length = 2, code = lead & 0x1f;
    else if (lead >= 0xe0 && lead < 0xf0)
        length = 3, code = lead & 0x0f;
    else if (lead >= 0xf0 && lead < 0xf5)
        length = 4, code = lead & 0x07;
    else
        return 0;
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xc0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3f);
    }
    return length;
}

// `text` in the toolkit's 8-bit text, on one line: UTF-8 decoded when the whole text is UTF-8
// (characters beyond Latin-1 become '?'), else taken byte for byte; control characters become
// spaces.
std::string displayable(const std::string& text) {
    std::string out;
    bool utf8 = true;
    for (size_t i = 0; i < text.size() && utf8;) {
        uint32_t code = 0;
        const size_t length = utf8Sequence(text, i, code);
        if (length == 0) {
            utf8 = false;
            break;
        }
        out += code < 0x80 || (code >= 0xa0 && code < 0x100) ? static_cast<char>(code) : '?';
        i += length;
    }
    if (!utf8) out = text;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    return out;
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// One path in full (its end kept visible), several as their names.
FileLine filesLine(const char* verb, const std::vector<std::string>& paths) {
    FileLine line;
    if (paths.size() == 1) {
        line.head = std::string(verb) + ": ";
        line.body = displayable(paths[0]);
        line.keepEnd = true;
        return line;
    }
    line.head = std::string(verb) + " " + std::to_string(paths.size()) + " files: ";
    for (const std::string& path : paths) {
        if (!line.body.empty()) line.body += ", ";
        line.body += displayable(nameOf(path));
        if (line.body.size() > kLongestBody) break;
    }
    return line;
}

} // namespace

FileLine chosenFilesLine(const std::vector<std::string>& paths) {
    return filesLine("Chosen", paths);
}

FileLine droppedFilesLine(const std::vector<std::string>& paths) {
    return filesLine("Dropped", paths);
}

FileLine droppedTextLine(const std::string& text) {
    FileLine line;
    line.head = "Dropped text: ";
    const std::string quoted = displayable(text.substr(0, kLongestBody));
    line.body.reserve(quoted.size() + 2);
    line.body.push_back('"');
    line.body.append(quoted);
    line.body.push_back('"');
    return line;
}

// ---- OpenKey ----

OpenKey::OpenKey(const Rect& rect, ControlListener* owner, int32_t controlTag, Bitmap* bitmap)
    : Control(rect, owner, controlTag, bitmap) {}

void OpenKey::draw(DrawContext* context) {
    const int32_t y = value != 0.0f ? size.getHeight() : 0;
    control_support::drawRegion(background, context, size, Point(0, y), transparent);
    setDirty(false);
}

void OpenKey::mouse(DrawContext* context, Point& where) {
    if (!(control_support::pressButtons(*this, context) & MouseLeft)) return;
    // A plain press-and-release loop: the key is no parameter, so no gesture goes to the host.
    Point at = where;
    value = 1.0f;
    update(context);
    while (context->getMouseButtons() & MouseLeft) {
        doIdleStuff();
        EditorFrame* owner = getFrame();
        if (!owner || !owner->hasEditor()) return; // the host closed the editor meanwhile
        context->getMouseLocation(at);
        value = size.pointInsideInclusive(at) ? 1.0f : 0.0f;
        update(context);
    }
    context->getMouseLocation(at);
    value = 0.0f;
    update(context);
    if (size.pointInsideInclusive(at)) control_support::tell(*this, context);
}

// ---- FileDisplay ----

FileDisplay::FileDisplay(const Rect& rect) : ValueDisplay(rect, nullptr, kDisplaySunkenFrame) {
    setHoriAlign(0);
}

void FileDisplay::show(const FileLine& newLine) {
    line = newLine;
    if (line.body.size() > kLongestBody)
        line.body = line.keepEnd ? line.body.substr(line.body.size() - kLongestBody)
                                 : line.body.substr(0, kLongestBody);
    setDirty(true);
}

void FileDisplay::draw(DrawContext* context) {
    if (!context) return;
    context->setFont(fontId, 0);
    // A space's width of room on each side, as the text starts one space in.
    const int32_t room = size.getWidth() - 2 * context->getStringWidth(" ");
    auto candidate = [this](size_t kept) {
        if (kept == line.body.size()) return line.head + line.body;
        return line.keepEnd ? line.head + kEllipsis + line.body.substr(line.body.size() - kept)
                            : line.head + line.body.substr(0, kept) + kEllipsis;
    };
    // The most of the body that fits (widths grow with every character kept).
    size_t low = 0, high = line.body.size();
    while (low < high) {
        const size_t middle = (low + high + 1) / 2;
        if (context->getStringWidth(candidate(middle).c_str()) <= room)
            low = middle;
        else
            high = middle - 1;
    }
    shown = candidate(low);
    drawText(context, (" " + shown).c_str());
}

// ---- DropCatcher ----

DropCatcher::DropCatcher(const Rect& rect, Handler function)
    : View(rect), handler(std::move(function)) {}

bool DropCatcher::onDrop(void** items, int32_t count, int32_t type, Point&) {
    // The handler belongs to the editor: a frame its editor has left takes no drops.
    EditorFrame* owner = getFrame();
    if (!owner || !owner->hasEditor()) return false;
    return handler && handler(items, count, type);
}
