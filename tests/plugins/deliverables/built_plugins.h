// The deliverables this build produced, from the list CMake passes in (BUILT_PLUGINS).
#pragma once

#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> builtPlugins() {
    std::vector<std::string> names;
    std::stringstream list(BUILT_PLUGINS);
    for (std::string name; std::getline(list, name, ',');)
        if (!name.empty()) names.push_back(name);
    return names;
}
