// Every bundle's plug-in library driven the way a careless host might: runs of 0 frames and
// runs with audio or control ports left unconnected are harmless, and the outputs that are
// connected hear silence. (Bad control values: lilv_tools.cmake.)
#include <gtest/gtest.h>

#include <lv2/core/lv2.h>

#include <algorithm>
#include <dlfcn.h>
#include <sstream>
#include <string>
#include <vector>

TEST(Lv2Plugin, UnconnectedPortsAndEmptyRunsAreHarmless) {
    std::istringstream plugins(BUILT_PLUGINS);
    for (std::string name; std::getline(plugins, name, ',');) {
        const std::string path = LV2_BUNDLE_DIR "/" + name + ".lv2/" + name + ".so";
        void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor"));
        const LV2_Descriptor* d = entry ? entry(0) : nullptr;
        ASSERT_NE(d, nullptr) << name;
        LV2_Handle h = d->instantiate(d, 48000.0, "", nullptr);
        ASSERT_NE(h, nullptr) << name;
        d->activate(h);
        d->run(h, 0);
        d->run(h, 64);
        std::vector<float> out(128, 7.0f);
        d->connect_port(h, 2, out.data());
        d->connect_port(h, 3, out.data() + 64);
        d->connect_port(h, 9999, out.data());
        d->run(h, 64);
        EXPECT_EQ(std::count(out.begin(), out.end(), 0.0f), 128) << name << ": not silent";
        d->deactivate(h);
        d->cleanup(h);
    }
}
