// artgen.cpp: writes the card pictures, their table of sizes and the descriptor bitmaps into a folder.
#include <cstdio>
#include <string>
#include <vector>

#include "bitmaps.h"
#include "glyph_outline.h"
#include "pictures.h"

namespace {

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

bool WriteText(const std::string &path, const std::string &text)
{
    return WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string SizesHeader(const std::vector<std::vector<uint8_t>> &pictures)
{
    std::string text =
        "// artwork_sizes.h: written by artgen; the byte size of every card picture, index id - 231.\n"
        "#pragma once\n\n"
        "#include <cstdint>\n\n"
        "constexpr int ArtworkSizeCount = 31;\n"
        "constexpr uint32_t ArtworkSizes[ArtworkSizeCount] = {\n";
    for (size_t i = 0; i < pictures.size(); ++i)
        text += "    " + std::to_string(pictures[i].size()) + ",    // " +
                std::to_string(FirstArtworkId + i) + "\n";
    text += "};\n";
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: artgen OUTPUT_FOLDER [FONT]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string fontPath = argc == 3 ? argv[2] : VP_ARTWORK_FONT;

    std::string error;
    GlyphFont *font = OpenGlyphFont(fontPath, error);
    if (!font) {
        std::fprintf(stderr, "artgen: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::vector<uint8_t>> pictures;
    bool drawn = DrawAllPictures(font, pictures, error);
    CloseGlyphFont(font);
    if (!drawn) {
        std::fprintf(stderr, "artgen: %s (%s)\n", error.c_str(), fontPath.c_str());
        return 1;
    }

    bool ok = true;
    for (int i = 0; i < ArtworkCount; ++i)
        ok = ok && WriteFile(folder + "/art" + std::to_string(FirstArtworkId + i) + ".wmf", pictures[i]);
    ok = ok && WriteFile(folder + "/type_color.bmp", TypeColourBitmap());
    ok = ok && WriteFile(folder + "/type_mono.bmp", TypeMonoBitmap());
    // The header last: the build takes its presence as the sign that the folder is complete.
    ok = ok && WriteText(folder + "/artwork_sizes.h", SizesHeader(pictures));
    if (!ok) {
        std::fprintf(stderr, "artgen: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
