#include "engine/scene_fixture.h"

#include <array>
#include <cstdlib>

#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "engine/mesh.h"
#include "engine/pcx_writer.h"
#include "engine/render_context.h"
#include "formats/definitions.h"
#include "media/frame_buffer.h"
#include "support/data_set.h"
#include "world/frame_clock.h"
#include "world/in_game_menu.h"
#include "world/world.h"

const char* const kSceneObjects =
    "[Object 1]\nCube=TRUE\nName=Brick\nFaceATexture=0\nFaceBTexture=0\nFaceCTexture=0\n"
    "FaceDTexture=0\nFaceETexture=1\nFaceFTexture=1\nFaceAColor=20\nFaceBColor=40\n"
    "FaceCColor=60\nFaceDColor=90\nFaceEColor=110\nFaceFColor=140\n"
    "[Object 2]\nCube=TRUE\nName=Checker\nFaceATexture=1\nFaceBTexture=1\nFaceCTexture=1\n"
    "FaceDTexture=1\nFaceETexture=1\nFaceFTexture=1\n"
    "[Object 3]\nCube=FALSE\nName=Pyramid\nMesh1=pyramid.3do\nCollision=FALSE\n"
    "[Object 4]\nCube=TRUE\nName=Crate\nFaceATexture=2\nFaceBTexture=2\nFaceCTexture=2\n"
    "FaceDTexture=2\nFaceETexture=2\nFaceFTexture=2\n"
    "[Object 5]\nCube=FALSE\nName=Ramp\nMesh1=pyramid.3do\nXmin=-256\nXmax=255\nZmin=-256\n"
    "Zmax=255\nYmin=-256\nYmax1=-256\nYmax2=200\nYmax3=200\nYmax4=-256\n";

namespace {

// 16 hues in 16 brightness steps; entry 0 black.
PalettePlanes ScenePalette() {
    static constexpr int kHues[16 * 3] = {
        255, 255, 255, 220, 90,  60,  80,  200, 90,  70,  110, 255, 250, 220, 60,  60,
        220, 230, 230, 80,  230, 255, 150, 40,  150, 110, 80,  140, 200, 140, 170, 170,
        200, 255, 170, 170, 110, 110, 110, 40,  140, 80,  140, 40,  140, 210, 190, 150};
    PalettePlanes palette{};
    for (int hue = 0; hue < 16; ++hue)
        for (int level = 0; level < 16; ++level)
            for (int ch = 0; ch < 3; ++ch)
                palette[ch * 256 + SceneColour(hue, level)] =
                    static_cast<std::uint8_t>(kHues[hue * 3 + ch] * (level + 1) / 16);
    palette[0] = palette[256] = palette[512] = 0;
    return palette;
}

std::vector<std::uint8_t> Pcx(int width, int height, const std::vector<std::uint8_t>& pixels) {
    return EncodePcx(width, height, pixels, ScenePalette());
}

std::vector<std::uint8_t> BrickTexture() {
    std::vector<std::uint8_t> pixels(128 * 128);
    for (int v = 0; v < 128; ++v) {
        for (int u = 0; u < 128; ++u) {
            const int shift = (v / 32) % 2 ? 32 : 0;
            const bool mortar = v % 32 < 3 || (u + shift) % 64 < 3;
            pixels[v * 128 + u] = static_cast<std::uint8_t>(
                mortar ? SceneColour(8, 10) : SceneColour(1, 8 + ((u ^ v) & 7) / 2));
        }
    }
    return pixels;
}

// Planks in a frame with a diagonal brace.
std::vector<std::uint8_t> CrateTexture() {
    std::vector<std::uint8_t> pixels(128 * 128);
    for (int v = 0; v < 128; ++v) {
        for (int u = 0; u < 128; ++u) {
            const bool frame = u < 12 || u >= 116 || v < 12 || v >= 116;
            const bool brace = std::abs(u - v) < 9;
            const bool seam = v % 26 == 0;
            int colour = SceneColour(7, 9 + (u * 7 + v * 3) % 4);
            if (seam) colour = SceneColour(7, 4);
            if (frame || brace) colour = SceneColour(7, 14);
            pixels[v * 128 + u] = static_cast<std::uint8_t>(colour);
        }
    }
    return pixels;
}

std::vector<std::uint8_t> CheckerTexture() {
    std::vector<std::uint8_t> pixels(128 * 128);
    for (int v = 0; v < 128; ++v)
        for (int u = 0; u < 128; ++u)
            pixels[v * 128 + u] = static_cast<std::uint8_t>(
                ((u / 16) + (v / 16)) % 2 ? SceneColour(3, 12) : SceneColour(4, 13));
    return pixels;
}

// Glyphs of 3 x 7 cells for the characters the tests write; code 127 is a
// full block and every other character a hollow box.
struct GlyphShape {
    char c;
    const char* rows;
};
constexpr GlyphShape kGlyphs[] = {
    {' ', "...|...|...|...|...|...|..."}, {'A', ".#.|#.#|#.#|###|#.#|#.#|#.#"},
    {'B', "##.|#.#|#.#|##.|#.#|#.#|##."}, {'E', "###|#..|#..|##.|#..|#..|###"},
    {'H', "#.#|#.#|#.#|###|#.#|#.#|#.#"}, {'K', "#.#|#.#|##.|#..|##.|#.#|#.#"},
    {'L', "#..|#..|#..|#..|#..|#..|###"}, {'N', "#.#|###|###|###|#.#|#.#|#.#"},
    {'R', "##.|#.#|#.#|##.|#.#|#.#|#.#"}, {'T', "###|.#.|.#.|.#.|.#.|.#.|.#."},
    {'U', "#.#|#.#|#.#|#.#|#.#|#.#|###"}, {'V', "#.#|#.#|#.#|#.#|#.#|.#.|.#."},
    {':', "...|.#.|...|...|...|.#.|..."}, {'1', ".#.|##.|.#.|.#.|.#.|.#.|###"},
    {'2', "###|..#|..#|###|#..|#..|###"}, {'7', "###|..#|..#|.#.|.#.|.#.|.#."},
    {127, "###|###|###|###|###|###|###"}};

const char* Glyph(char c) {
    for (const GlyphShape& glyph : kGlyphs)
        if (glyph.c == c) return glyph.rows;
    return "###|#.#|#.#|#.#|#.#|#.#|###"; // also O and 0
}

bool GlyphCell(char c, int col, int row) {
    return Glyph(c)[row * 4 + col] == '#';
}

// A sheet of 100 glyphs for codes 32..131, glyph i at x = pitch * i; big
// glyphs are the small shapes stretched to 8 x 15.
std::vector<std::uint8_t> FontSheet(int pitch, int glyphWidth, int glyphHeight, int width,
                                    std::uint8_t colour) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * glyphHeight, 0);
    for (int i = 0; i < 100; ++i) {
        const char c = static_cast<char>(32 + i);
        for (int y = 0; y < glyphHeight; ++y)
            for (int x = 0; x < glyphWidth; ++x)
                if (GlyphCell(c, x * 3 / glyphWidth, y * 7 / glyphHeight))
                    pixels[y * width + pitch * i + x] = colour;
    }
    return pixels;
}

// The radar: a dark disc with cross hairs on black.
std::vector<std::uint8_t> RadarPicture() {
    std::vector<std::uint8_t> pixels(32 * 32, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int dx = 2 * x - 31, dy = 2 * y - 31;
            if (dx * dx + dy * dy > 31 * 31) continue;
            const bool hair = x == 15 || y == 15;
            pixels[y * 32 + x] =
                static_cast<std::uint8_t>(hair ? SceneColour(2, 9) : SceneColour(2, 3));
        }
    }
    return pixels;
}

std::vector<std::uint8_t> Plain(int width, int height, int colour) {
    return std::vector<std::uint8_t>(std::size_t(width) * height,
                                     static_cast<std::uint8_t>(colour));
}

// A box with flat faces (double-sided when asked) of one colour per side.
std::vector<std::uint8_t> BoxMesh(int halfX, int halfY, int halfZ,
                                  const std::array<int, 6>& colours, bool doubleSided) {
    Mesh mesh;
    mesh.lastVertex = 7;
    mesh.lastFace = 11;
    for (int i = 0; i < 8; ++i) {
        mesh.x.push_back(i & 1 ? halfX : -halfX);
        mesh.y.push_back(i & 2 ? halfY : -halfY);
        mesh.z.push_back(i & 4 ? halfZ : -halfZ);
    }
    // Quads (corner indices) seen from outside, turning clockwise on screen.
    static constexpr int kQuads[6][4] = {{2, 3, 1, 0}, {3, 7, 5, 1}, {7, 6, 4, 5},
                                         {6, 2, 0, 4}, {6, 7, 3, 2}, {0, 1, 5, 4}};
    const auto side = static_cast<std::uint16_t>(doubleSided ? 1 : 0);
    for (int q = 0; q < 6; ++q) {
        const auto colour = static_cast<std::uint16_t>(colours[q]);
        const auto* c = kQuads[q];
        mesh.faces.push_back(Face{std::uint16_t(c[3]), std::uint16_t(c[0]), std::uint16_t(c[1]),
                                  colour, 0, side, kFaceFlat});
        mesh.faces.push_back(Face{std::uint16_t(c[1]), std::uint16_t(c[2]), std::uint16_t(c[3]),
                                  colour, 0, side, kFaceFlat});
    }
    return EncodeMesh(mesh);
}

std::vector<std::uint8_t> PyramidMesh() {
    Mesh mesh;
    mesh.lastVertex = 4;
    mesh.lastFace = 3;
    mesh.x = {-200, 200, 200, -200, 0};
    mesh.y = {-256, -256, -256, -256, 150};
    mesh.z = {-200, -200, 200, 200, 0};
    for (int i = 0; i < 4; ++i)
        mesh.faces.push_back(Face{std::uint16_t(i), 4, std::uint16_t((i + 1) % 4),
                                  std::uint16_t(SceneColour(5 + i, 12)), 0, 1, kFaceFlat});
    return EncodeMesh(mesh);
}

std::vector<std::uint8_t> ShadowMesh() {
    Mesh mesh;
    mesh.lastVertex = 3;
    mesh.lastFace = 1;
    mesh.x = {-150, 150, 150, -150};
    mesh.y = {0, 0, 0, 0};
    mesh.z = {-150, -150, 150, 150};
    const auto colour = static_cast<std::uint16_t>(SceneColour(8, 1));
    mesh.faces = {Face{0, 1, 2, colour, 0, 1, kFaceFlat}, Face{2, 3, 0, colour, 0, 1, kFaceFlat}};
    return EncodeMesh(mesh);
}

} // namespace

void WriteSceneDataSet(const TempDir& dir) {
    WriteMiniDataSet(dir, kSceneObjects);
    dir.write("TEX/A.PCX", Pcx(128, 128, BrickTexture()));
    dir.write("TEX/B.PCX", Pcx(128, 128, CheckerTexture()));
    dir.write("TEX/C.PCX", Pcx(128, 128, CrateTexture()));
    dir.write("bank.txt", std::string("#IMAGES\n0=TEX/A.PCX\n1=TEX/B.PCX\n2=TEX/C.PCX\n#TEXTURES\n"
                                      "0=0-0\n1=1-1\n2=2-2\n"));
    dir.write("INTERF/RADAR.PCX", Pcx(32, 32, RadarPicture()));
    dir.write("INTERF/RADARP1.PCX", Pcx(4, 4, Plain(4, 4, SceneColour(4, 15))));
    dir.write("INTERF/RADARP2.PCX", Pcx(4, 4, Plain(4, 4, SceneColour(1, 15))));
    const auto fontColour = static_cast<std::uint8_t>(SceneColour(4, 15));
    dir.write("INTERF/SMALFONT.PCX", Pcx(400, 7, FontSheet(4, 3, 7, 400, fontColour)));
    dir.write("INTERF/BIGFONT.PCX", Pcx(900, 15, FontSheet(9, 8, 15, 900, fontColour)));
    dir.write("3DO/GAME/hero.3do",
              BoxMesh(100, 240, 60,
                      {SceneColour(5, 12), SceneColour(5, 14), SceneColour(5, 10),
                       SceneColour(5, 14), SceneColour(5, 15), SceneColour(5, 8)},
                      true));
    dir.write("3DO/GAME/enemy.3do",
              BoxMesh(65, 240, 65,
                      {SceneColour(6, 12), SceneColour(6, 14), SceneColour(6, 10),
                       SceneColour(6, 14), SceneColour(6, 15), SceneColour(6, 8)},
                      false));
    dir.write("3DO/GAME/shadow.3do", ShadowMesh());
    dir.write("3DO/GAME/pyramid.3do", PyramidMesh());
    dir.write("3DO/GAME/sky.3do",
              BoxMesh(20000, 8000, 20000,
                      {SceneColour(10, 12), SceneColour(10, 13), SceneColour(10, 12),
                       SceneColour(10, 13), SceneColour(3, 14), SceneColour(8, 4)},
                      true));
}

LevelData EmptyLevel(int sizeX, int sizeY, int sizeZ) {
    LevelData level;
    level.sizeX = sizeX;
    level.sizeY = sizeY;
    level.sizeZ = sizeZ;
    const std::size_t cells = std::size_t(sizeX) * sizeY * sizeZ;
    level.cells.assign(cells, 0);
    level.brightness.assign(cells, 128);
    level.state.definitionFile = kDefinitionFile;
    level.state.startX = level.state.startY = level.state.startZ = 1;
    return level;
}

void SetCell(LevelData& level, int x, int y, int z, std::uint8_t type) {
    level.cells[std::size_t(x) + std::size_t(level.sizeX) * (y + std::size_t(level.sizeY) * z)] =
        type;
}

bool LoadSceneLevel(const TempDir& dir, const LevelData& level, int width, int height,
                    const std::string& detail) {
    ScopedCurrentDir cd(dir.path());
    if (!WriteLevelBytes("TEST.LEV", EncodeLevel(level))) return false;
    ForgetDefinitions();
    if (LoadLevel("TEST.LEV", detail).result != kLevelLoaded) return false;
    BuildCubeFaceMeshes();
    windowMode = false;
    SetupViewport(width, height);
    inGameMenu = InGameMenu{};
    localPlayer = 0;
    lastPlayer = 0;
    Now = 1000;
    frameMs = 50;
    return true;
}

void PlacePlayer(float x, float y, float z, float heading, float cameraDistance) {
    PlayerRecord& p = players[0];
    p.x = p.cameraX = p.followX = x;
    p.y = p.cameraY = p.followY = y;
    p.z = p.cameraZ = p.followZ = z;
    p.heading = heading;
    p.cameraDistance = cameraDistance;
}

int PixelsNotOf(std::uint8_t colour) {
    const FrameBuffer& buffer = renderContext.mainBuffer;
    int count = 0;
    for (int i = 0; i < buffer.width * buffer.height; ++i) count += buffer.pixels[i] != colour;
    return count;
}
