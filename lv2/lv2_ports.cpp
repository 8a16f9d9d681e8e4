// Port symbols made from the parameters' names.
#include "lv2/lv2_ports.h"

#include <algorithm>

namespace lv2ports {

namespace {

std::string symbolFor(const std::string& name) {
    std::string symbol;
    bool gap = false;
    for (const char c : name) {
        const bool letter = c >= 'a' && c <= 'z';
        const bool upper = c >= 'A' && c <= 'Z';
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !upper && !digit) {
            gap = !symbol.empty();
            continue;
        }
        if (gap) symbol += '_';
        gap = false;
        symbol += upper ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (symbol.empty() || (symbol[0] >= '0' && symbol[0] <= '9')) symbol = "p" + symbol;
    return symbol;
}

} // namespace

std::vector<std::string> portSymbols(const std::vector<std::string>& names,
                                     const std::vector<std::string>& taken) {
    std::vector<std::string> symbols = taken;
    for (const std::string& name : names) {
        const std::string base = symbolFor(name);
        std::string symbol = base;
        for (int n = 2; std::find(symbols.begin(), symbols.end(), symbol) != symbols.end(); ++n)
            symbol = base + "_" + std::to_string(n);
        symbols.push_back(symbol);
    }
    symbols.erase(symbols.begin(), symbols.begin() + static_cast<std::ptrdiff_t>(taken.size()));
    return symbols;
}

} // namespace lv2ports
