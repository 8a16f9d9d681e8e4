// RecordingListener: a window listener for platform tests that writes down every paint,
// press, key, focus change and destruction it is told about, in order.
#pragma once

#include "gui/platform/platform.h"

#include <functional>
#include <string>
#include <vector>

struct RecordingListener final : platform::WindowListener {
    struct Press {
        int32_t x, y;
    };
    std::vector<platform::Area> paints;
    std::vector<Press> presses;
    std::vector<platform::KeyEvent> keys;
    std::vector<bool> focusChanges;
    std::vector<std::string> order; // "paint", "press", "key", "focus", "destroyed"
    int destroyed = 0;
    std::function<void()> onPress; // runs inside the press delivery, when set
    bool takesKeys = true;         // what windowKey answers: false passes keys on to the host

    void windowPaint(const platform::Area& area) override {
        paints.push_back(area);
        order.emplace_back("paint");
    }
    void windowButtonDown(int32_t x, int32_t y) override {
        presses.push_back({x, y});
        order.emplace_back("press");
        if (onPress) onPress();
    }
    bool windowKey(const platform::KeyEvent& key) override {
        keys.push_back(key);
        order.emplace_back("key");
        return takesKeys;
    }
    void windowFocus(bool gained) override {
        focusChanges.push_back(gained);
        order.emplace_back("focus");
    }
    void windowDestroyed() override {
        ++destroyed;
        order.emplace_back("destroyed");
    }
};
