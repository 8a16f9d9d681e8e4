// Translating between the host's key record and the platform's key events.
#include "gui/host_keys.h"

namespace {

// Virtual keys and modifier bits of the host's key record.
enum : uint8_t {
    kVirtBack = 1,
    kVirtReturn = 4,
    kVirtEscape = 6,
    kVirtEnd = 9,
    kVirtHome = 10,
    kVirtLeft = 11,
    kVirtUp = 12,
    kVirtRight = 13,
    kVirtDown = 14,
    kVirtEnter = 19,
    kVirtInsert = 21,
    kVirtDelete = 22,
    kVirtNumpad0 = 24,
    kVirtNumpad9 = 33,
};
enum : uint8_t { kModifierShift = 1, kModifierAlternate = 2, kModifierControl = 8 };

struct VirtualKey {
    uint8_t virt;
    platform::KeyCode code;
};
constexpr VirtualKey kVirtualKeys[] = {
    {kVirtBack, platform::KeyCode::Backspace},    {kVirtReturn, platform::KeyCode::Enter},
    {kVirtEnter, platform::KeyCode::KeypadEnter}, {kVirtEscape, platform::KeyCode::Escape},
    {kVirtEnd, platform::KeyCode::End},           {kVirtHome, platform::KeyCode::Home},
    {kVirtLeft, platform::KeyCode::Left},         {kVirtUp, platform::KeyCode::Up},
    {kVirtRight, platform::KeyCode::Right},       {kVirtDown, platform::KeyCode::Down},
    {kVirtInsert, platform::KeyCode::Insert},     {kVirtDelete, platform::KeyCode::Delete},
};

} // namespace

platform::KeyEvent fromHostKey(const VstKeyCode& keyCode) {
    using platform::KeyCode;
    platform::KeyEvent event;
    if (keyCode.modifier & kModifierShift) event.modifiers |= platform::kModShift;
    if (keyCode.modifier & kModifierAlternate) event.modifiers |= platform::kModAlt;
    if (keyCode.modifier & kModifierControl) event.modifiers |= platform::kModControl;
    for (const VirtualKey& each : kVirtualKeys)
        if (each.virt == keyCode.virt) {
            event.code = each.code;
            return event;
        }
    if (keyCode.virt >= kVirtNumpad0 && keyCode.virt <= kVirtNumpad9) {
        event.code = KeyCode::Character;
        event.character = static_cast<char>('0' + keyCode.virt - kVirtNumpad0);
    } else if (keyCode.character > 0 && keyCode.character < 256) {
        event.code = KeyCode::Character; // the space bar and other typing keys
        event.character = static_cast<char>(keyCode.character);
    }
    return event;
}

bool toHostKey(const platform::KeyEvent& key, VstKeyCode& keyCode) {
    keyCode = VstKeyCode{0, 0, 0};
    if (key.modifiers & platform::kModShift) keyCode.modifier |= kModifierShift;
    if (key.modifiers & platform::kModAlt) keyCode.modifier |= kModifierAlternate;
    if (key.modifiers & platform::kModControl) keyCode.modifier |= kModifierControl;
    if (key.code == platform::KeyCode::Character) {
        keyCode.character = static_cast<unsigned char>(key.character);
        return keyCode.character != 0;
    }
    for (const VirtualKey& each : kVirtualKeys)
        if (each.code == key.code) {
            keyCode.virt = each.virt;
            return true;
        }
    return false;
}
