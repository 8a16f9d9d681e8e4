// The X11 UIs in a small host of this test's own under Xvfb, one per toolkit variant: the UI
// embeds its editor in the host's window and reports its size; a knob dragged with real pointer
// events (xdotool) writes its port with rising values inside one touch gesture; a port value
// from the host moves the knob back and does not come back as a write.
#include "tests/support/x_server_suite.h"

#include <lv2/ui/ui.h>

#include <X11/Xutil.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct UiCase {
    const char* plugin;
    uint32_t port;  // the knob's control port
    float initial;  // its default
    int x, y, w, h; // the knob in the editor
};

// What the UI asked of the host ("touch P 1", "write P", "touch P 0"), values and size.
struct HostRecord {
    std::vector<std::string> calls;
    std::vector<float> written;
    int width = 0, height = 0;
};

class Lv2UiInXServer : public XServerSuite, public ::testing::WithParamInterface<UiCase> {
  protected:
    Lv2UiInXServer() : XServerSuite(ParentPlace{10, 10, 760, 400, 0}) {} // room for every editor

    std::vector<unsigned long> knobPixels(::Window window) {
        const UiCase& c = GetParam();
        XSync(display, False);
        std::vector<unsigned long> pixels;
        XImage* image = XGetImage(display, window, c.x, c.y, c.w, c.h, AllPlanes, ZPixmap);
        for (int y = 0; image && y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                pixels.push_back(XGetPixel(image, x, y));
        if (image) XDestroyImage(image);
        return pixels;
    }
    // Runs the UI's idle for a while, so that what it drew reaches the server.
    void idleFor(int milliseconds) {
        for (int i = 0; i < milliseconds / 10; ++i) {
            ASSERT_EQ(idle->idle(ui), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    LV2UI_Handle ui = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
};

TEST_P(Lv2UiInXServer, EmbedsTheEditorAndTalksThroughPortsAndGestures) {
    if (!ready()) return;
    if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
    const UiCase& c = GetParam();
    const std::string bundle = std::string(LV2_BUNDLE_DIR "/") + c.plugin + ".lv2/";
    const std::string path = bundle + c.plugin + "_ui.so";
    if (access(path.c_str(), R_OK) != 0) GTEST_SKIP() << "not built";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    const LV2UI_Descriptor* descriptor = entry ? entry(0) : nullptr;
    ASSERT_NE(descriptor, nullptr);
    idle =
        static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);

    HostRecord host;
    LV2UI_Touch touch{&host, [](LV2UI_Feature_Handle h, uint32_t port, bool grabbed) {
                          static_cast<HostRecord*>(h)->calls.push_back(
                              "touch " + std::to_string(port) + " " + std::to_string(grabbed));
                      }};
    LV2UI_Resize resize{&host, [](LV2UI_Feature_Handle h, int width, int height) {
                            static_cast<HostRecord*>(h)->width = width;
                            static_cast<HostRecord*>(h)->height = height;
                            return 0;
                        }};
    auto write = [](LV2UI_Controller h, uint32_t port, uint32_t size, uint32_t format,
                    const void* buffer) {
        ASSERT_TRUE(format == 0 && size == sizeof(float));
        static_cast<HostRecord*>(h)->calls.push_back("write " + std::to_string(port));
        static_cast<HostRecord*>(h)->written.push_back(*static_cast<const float*>(buffer));
    };
    const LV2_Feature parentFeature{LV2_UI__parent, parentHandle()};
    const LV2_Feature touchFeature{LV2_UI__touch, &touch};
    const LV2_Feature resizeFeature{LV2_UI__resize, &resize};
    const LV2_Feature* features[] = {&parentFeature, &touchFeature, &resizeFeature, nullptr};
    LV2UI_Widget widget = nullptr;
    ui = descriptor->instantiate(descriptor, "", bundle.c_str(), write, &host, &widget, features);
    ASSERT_NE(ui, nullptr);

    // The widget is the editor's window, a child of the host's, of the size reported.
    const auto window = static_cast<::Window>(reinterpret_cast<uintptr_t>(widget));
    ::Window root, parentOf, *children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(display, window, &root, &parentOf, &children, &count));
    if (children) XFree(children);
    EXPECT_EQ(parentOf, parent);
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
    EXPECT_EQ(attributes.width, host.width);
    EXPECT_EQ(attributes.height, host.height);
    idleFor(300);
    const std::vector<unsigned long> atDefault = knobPixels(window);

    // Clockwise round the knob's rim, from its top, while the host keeps calling idle.
    const double cx = c.x + c.w / 2, cy = c.y + c.h / 2, r = c.h / 2 - 2;
    const std::string w = " --window " + std::to_string(window) + " ";
    std::string drag = "xdotool mousemove" + w + std::to_string(int(cx)) + " " +
                       std::to_string(int(cy - r)) + " mousedown 1";
    for (int degrees = -70; degrees <= 20; degrees += 15)
        drag += " sleep 0.05 mousemove" + w +
                std::to_string(std::lround(cx + r * std::cos(degrees * M_PI / 180))) + " " +
                std::to_string(std::lround(cy + r * std::sin(degrees * M_PI / 180)));
    std::thread pointer([&] { std::system((drag + " sleep 0.1 mouseup 1").c_str()); });
    const std::string end = "touch " + std::to_string(c.port) + " 0";
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         std::chrono::steady_clock::now() < deadline &&
         (host.calls.empty() || host.calls.back() != end);)
        idleFor(10);
    pointer.join();

    ASSERT_GE(host.calls.size(), 3u);
    EXPECT_EQ(host.calls.front(), "touch " + std::to_string(c.port) + " 1");
    EXPECT_EQ(host.calls.back(), end);
    for (size_t i = 1; i + 1 < host.calls.size(); ++i)
        EXPECT_EQ(host.calls[i], "write " + std::to_string(c.port));
    for (size_t i = 1; i < host.written.size(); ++i)
        EXPECT_GE(host.written[i], host.written[i - 1]);
    EXPECT_GT(host.written.back(), c.initial + 0.1f);

    idleFor(200);
    EXPECT_NE(knobPixels(window), atDefault) << "the knob did not turn";
    const size_t calls = host.calls.size();
    descriptor->port_event(ui, c.port, sizeof(float), 0, &c.initial);
    idleFor(200);
    EXPECT_EQ(knobPixels(window), atDefault) << "the port value did not move the knob back";
    EXPECT_EQ(host.calls.size(), calls) << "a port value from the host came back";
    descriptor->cleanup(ui);
}

// swirlet's Depth R (parameter 3) and corallis's Dry Mix (parameter 8).
const UiCase kCases[] = {{"swirlet", 7, 0.5f, 184, 36, 32, 30},
                         {"corallis", 12, 0.5f, 512, 29, 36, 36}};

INSTANTIATE_TEST_SUITE_P(EachToolkitVariant, Lv2UiInXServer, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<UiCase>& info) {
                             return std::string(info.param.plugin);
                         });

} // namespace
