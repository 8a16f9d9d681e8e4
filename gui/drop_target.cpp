// DropTarget: drag answers and the conversion of dropped data into the frame's onDrop.
#include "gui/drop_target.h"

#include "gui/editor_frame.h"
#include "gui/platform/platform.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace {
constexpr uint32_t kTakenFormats = platform::kDropFiles | platform::kDropText;
} // namespace

platform::DropAction DropTarget::dragOver(uint32_t formats, uint32_t modifiers, int32_t, int32_t) {
    accept = (formats & kTakenFormats) != 0;
    if (!accept) return platform::DropAction::Refused;
    return (modifiers & platform::kModControl) ? platform::DropAction::Copy
                                               : platform::DropAction::Move;
}

platform::DropOutcome DropTarget::drop(platform::DropFormat format, const platform::DropData& data,
                                       int32_t x, int32_t y) {
    if (!frame) return platform::DropOutcome::Unusable;
    if (format == platform::kDropFiles) return dropFiles(data.paths, x, y);
    if (format == platform::kDropText) return dropText(data.text, x, y);
    return platform::DropOutcome::Unusable;
}

platform::DropOutcome DropTarget::dropFiles(const std::vector<std::string>& paths, int32_t x,
                                            int32_t y) {
    if (paths.empty()) return platform::DropOutcome::Unusable;
    // Each path in a block of its own, as long as it needs to be.
    std::vector<std::unique_ptr<char[]>> blocks;
    std::vector<void*> items;
    blocks.reserve(paths.size());
    items.reserve(paths.size());
    for (const std::string& path : paths) {
        std::unique_ptr<char[]> block(new (std::nothrow) char[path.size() + 1]);
        if (!block) break;
        std::memcpy(block.get(), path.c_str(), path.size() + 1);
        items.push_back(block.get());
        blocks.push_back(std::move(block));
    }
    if (items.empty()) return platform::DropOutcome::Unusable;
    Point where(x, y);
    const bool taken = frame->onDrop(items.data(), static_cast<int32_t>(items.size()), 0, where);
    return taken ? platform::DropOutcome::Taken : platform::DropOutcome::Declined;
}

platform::DropOutcome DropTarget::dropText(const std::string& data, int32_t x, int32_t y) {
    // The text ends at its first zero byte, if it has one; it is handed on terminated.
    const size_t length = std::min(data.find('\0'), data.size());
    if (length == 0 || length >= static_cast<size_t>(INT32_MAX)) {
        return platform::DropOutcome::Unusable;
    }
    std::unique_ptr<char[]> block(new (std::nothrow) char[length + 1]);
    if (!block) return platform::DropOutcome::Unusable;
    std::memcpy(block.get(), data.data(), length);
    block[length] = '\0';
    void* text = block.get();
    Point where(x, y);
    const bool taken = frame->onDrop(&text, static_cast<int32_t>(length + 1), 1, where);
    return taken ? platform::DropOutcome::Taken : platform::DropOutcome::Declined;
}
