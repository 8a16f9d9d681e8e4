// plughost editor commands: the title and size of a plug-in's editor, and PNG output.
#include "tools/plughost/editor_host.h"

#include "tools/plughost/plugin_host.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

std::string editorTitle(PluginHost& host, const std::string& path) {
    std::string title = host.effectName();
    if (title.empty()) title = host.productString();
    if (title.empty()) {
        const size_t slash = path.find_last_of('/');
        title = slash == std::string::npos ? path : path.substr(slash + 1);
        const size_t dot = title.find_last_of('.');
        if (dot != std::string::npos && dot > 0) title.resize(dot);
    }
    return title;
}

bool editorSize(PluginHost& host, int32_t& width, int32_t& height) {
    ERect* rect = nullptr;
    if (!host.dispatch(effEditGetRect, 0, 0, &rect) || !rect) return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return width > 0 && height > 0;
}

std::unique_ptr<PluginHost> loadWithEditor(const std::string& path, int32_t& width, int32_t& height,
                                           std::string& error) {
    auto host = PluginHost::load(path, error);
    if (!host) return nullptr;
    if (!(host->effect()->flags & effFlagsHasEditor)) {
        error = path + " has no editor";
        return nullptr;
    }
    if (!editorSize(*host, width, height)) {
        error = path + " does not tell its editor's size";
        return nullptr;
    }
    return host;
}

bool writePng(const std::string& path, const std::vector<uint8_t>& rgb, int32_t width,
              int32_t height, std::string& error) {
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3) {
        error = "nothing to write";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        error = "out of memory writing " + path;
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        error = "cannot write " + path;
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y)
        png_write_row(png, rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
