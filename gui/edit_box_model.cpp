// EditBoxModel: editing rules of the single-line box.
#include "gui/edit_box_model.h"

#include <cstring>

void EditBoxModel::setText(const char* newText) {
    TextBuffer cut(newText);
    std::memcpy(text, cut.c_str(), cut.size() + 1);
    length = static_cast<int32_t>(cut.size());
    scroll = 0;
    selectAll();
}

void EditBoxModel::selectAll() {
    anchor = 0;
    caret = length;
}

void EditBoxModel::moveTo(int32_t position, bool extend) {
    if (position < 0) position = 0;
    if (position > length) position = length;
    caret = position;
    if (!extend) anchor = position;
}

void EditBoxModel::eraseSelection() {
    const int32_t start = selectionStart();
    const int32_t end = selectionEnd();
    std::memmove(text + start, text + end, static_cast<size_t>(length - end + 1));
    length -= end - start;
    caret = anchor = start;
}

EditBoxModel::Result EditBoxModel::apply(const EditKey& key) {
    const int32_t oldCaret = caret;
    const int32_t oldAnchor = anchor;
    switch (key.code) {
    case EditKeyCode::Character: {
        const char one[2] = {key.character, 0};
        return insert(one);
    }
    case EditKeyCode::Left:
        // Without shift a selection collapses to its start, as desktop boxes do.
        if (hasSelection() && !key.shift)
            moveTo(selectionStart(), false);
        else
            moveTo(caret - 1, key.shift);
        break;
    case EditKeyCode::Right:
        if (hasSelection() && !key.shift)
            moveTo(selectionEnd(), false);
        else
            moveTo(caret + 1, key.shift);
        break;
    case EditKeyCode::Home:
        moveTo(0, key.shift);
        break;
    case EditKeyCode::End:
        moveTo(length, key.shift);
        break;
    case EditKeyCode::Backspace:
        if (!hasSelection()) {
            if (caret == 0) return Result::Unchanged;
            anchor = caret - 1;
        }
        eraseSelection();
        return Result::Edited;
    case EditKeyCode::Delete:
        if (!hasSelection()) {
            if (caret == length) return Result::Unchanged;
            anchor = caret + 1;
        }
        eraseSelection();
        return Result::Edited;
    case EditKeyCode::Enter:
        return Result::Finished;
    case EditKeyCode::Escape:
        return Result::Unchanged;
    case EditKeyCode::SelectAll:
        selectAll();
        break;
    }
    return caret != oldCaret || anchor != oldAnchor ? Result::Moved : Result::Unchanged;
}

EditBoxModel::Result EditBoxModel::insert(const char* insertion) {
    if (!insertion) return Result::Unchanged;
    const bool hadSelection = hasSelection();
    if (hadSelection) eraseSelection();
    // Keep only printable characters (8-bit text: bytes from 0x80 up are characters too).
    char clean[kMaxLength + 1];
    int32_t count = 0;
    const int32_t room = kMaxLength - length;
    for (const char* p = insertion; *p && count < room; ++p)
        if (static_cast<unsigned char>(*p) >= 32 && *p != 127) clean[count++] = *p;
    if (count == 0) return hadSelection ? Result::Edited : Result::Unchanged;
    std::memmove(text + caret + count, text + caret, static_cast<size_t>(length - caret + 1));
    std::memcpy(text + caret, clean, static_cast<size_t>(count));
    length += count;
    caret = anchor = caret + count;
    return Result::Edited;
}

void EditBoxModel::copySelection(TextBuffer& out) const {
    char part[kMaxLength + 1];
    const int32_t count = selectionEnd() - selectionStart();
    std::memcpy(part, text + selectionStart(), static_cast<size_t>(count));
    part[count] = 0;
    out.append(part);
}

EditBoxModel::Result EditBoxModel::cutSelection(TextBuffer& out) {
    if (!hasSelection()) return Result::Unchanged;
    copySelection(out);
    eraseSelection();
    return Result::Edited;
}

void EditBoxModel::placeCaret(int32_t x, bool extend, TextMeasure& measure) {
    const int32_t target = x + scroll;
    int32_t best = 0;
    int32_t previous = 0;
    for (int32_t i = 1; i <= length; ++i) {
        const int32_t w = measure.width(text, i);
        // The boundary nearer to the point wins; a point past the middle of a character
        // lands after it.
        if (target >= (previous + w + 1) / 2) best = i;
        if (w > target) break;
        previous = w;
    }
    moveTo(best, extend);
}

int32_t EditBoxModel::scrollToCaret(int32_t boxWidth, TextMeasure& measure) {
    const int32_t visible = boxWidth > 2 ? boxWidth - 2 : 1; // a pixel for the caret each side
    const int32_t caretX = measure.width(text, caret);
    const int32_t total = measure.width(text, length);
    if (caretX - scroll > visible) scroll = caretX - visible;
    if (caretX < scroll) scroll = caretX;
    // No empty space at the right while text is hidden at the left.
    if (scroll > 0 && total - scroll < visible) scroll = total > visible ? total - visible : 0;
    if (scroll < 0) scroll = 0;
    return scroll;
}
