// Text for the artwork: glyphs rendered by FreeType from a font file and blended into an
// Image with light hinting, so small labels stay crisp.
//
// State: the FreeType library and one face at one pixel size. Not thread-safe; one renderer
// per thread.
#pragma once

#include "tools/artwork/image.h"

#include <string>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace artwork {

class TextRenderer {
  public:
    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Opens the font file; answers false (with a message in `error`) when it cannot.
    bool open(const std::string& path, std::string& error);
    void setPixelSize(float pixels);

    // Horizontal extent in pixels of `text` with `tracking` extra pixels between letters.
    float measure(const std::string& text, float tracking = 0.0f);
    // Cap height of the current size in pixels (height of "H").
    float capHeight();
    // Draws `text` with its baseline at `baseline`, starting at `left`.
    void draw(Image& image, const std::string& text, float left, float baseline, Rgb colour,
              float opacity = 1.0f, float tracking = 0.0f);
    // Draws `text` centred on `centre`.
    void drawCentred(Image& image, const std::string& text, float centre, float baseline,
                     Rgb colour, float opacity = 1.0f, float tracking = 0.0f);

  private:
    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
};

} // namespace artwork
