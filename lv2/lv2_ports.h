// The port layout every bundle shares, known to the Turtle generator, the plug-in and its UI:
// ports 0 and 1 are the left and right audio inputs, 2 and 3 the outputs, and port 4 + i is
// the control input of parameter i. Also the symbol a parameter's name gives its port.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lv2ports {

constexpr uint32_t kInputLeft = 0;
constexpr uint32_t kInputRight = 1;
constexpr uint32_t kOutputLeft = 2;
constexpr uint32_t kOutputRight = 3;
constexpr uint32_t kFirstControl = 4;

// The port of parameter `index`, and the parameter of `port` (-1 for an audio port).
constexpr uint32_t controlPort(int32_t index) {
    return kFirstControl + static_cast<uint32_t>(index);
}
constexpr int32_t parameterOf(uint32_t port) {
    return port < kFirstControl ? -1 : static_cast<int32_t>(port - kFirstControl);
}

// Port symbols for these parameter names, in order: lower-case letters and digits with one
// underscore for each run of anything else, none at either end; a symbol that would start
// with a digit or be empty gets the prefix "p", and one that repeats an earlier one (or one of
// `taken`) the suffix "_2", "_3"...
std::vector<std::string> portSymbols(const std::vector<std::string>& names,
                                     const std::vector<std::string>& taken = {});

} // namespace lv2ports
