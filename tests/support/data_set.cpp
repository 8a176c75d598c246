#include "support/data_set.h"

#include "engine/mesh.h"
#include "engine/pcx_writer.h"
#include "formats/definitions.h"

namespace {

PalettePlanes greyRamp() {
    PalettePlanes palette{};
    for (int i = 0; i < 256; ++i)
        palette[i] = palette[256 + i] = palette[512 + i] = static_cast<std::uint8_t>(i);
    return palette;
}

std::vector<std::uint8_t> picture(int width, int height, std::uint8_t colour) {
    return EncodePcx(width, height, std::vector<std::uint8_t>(width * height, colour), greyRamp());
}

} // namespace

std::vector<std::uint8_t> SimpleMeshBytes(int faces, int size) {
    Mesh mesh;
    mesh.lastVertex = static_cast<std::uint16_t>(faces + 1);
    mesh.lastFace = static_cast<std::uint16_t>(faces - 1);
    for (int i = 0; i <= faces + 1; ++i) {
        mesh.x.push_back(i % 2 == 0 ? -size : size);
        mesh.y.push_back(i * 10 - size);
        mesh.z.push_back(i % 3 == 0 ? -size : size);
    }
    for (int f = 0; f < faces; ++f)
        mesh.faces.push_back(Face{static_cast<std::uint16_t>(f), static_cast<std::uint16_t>(f + 1),
                                  static_cast<std::uint16_t>(f + 2), 10, 0, 0, 3});
    return EncodeMesh(mesh);
}

void WriteMiniDataSet(const TempDir& dir, const std::string& objects) {
    dir.write("TEX/A.PCX", picture(128, 128, 200));
    dir.write("TEX/B.PCX", picture(128, 128, 100));
    dir.write("bank.txt",
              std::string("#IMAGES\n0=TEX/A.PCX\n1=TEX/B.PCX\n#TEXTURES\n0=0-0\n1=0-1\n"));
    for (const char* name : {"Transi1.3do", "Transi2.3do", "Transi3.3do"})
        dir.write(std::string("3DO/GAME/") + name, SimpleMeshBytes(16));
    for (const char* name :
         {"podium.3do", "flag.3do", "hero.3do", "shadow.3do", "enemy.3do", "sky.3do"})
        dir.write(std::string("3DO/GAME/") + name, SimpleMeshBytes(2));
    for (const char* name :
         {"TKELV", "TITLE", "OPTION", "SELECT", "BARRE", "RADAR", "RADARP1", "RADARP2"})
        dir.write(std::string("INTERF/") + name + ".PCX", picture(64, 32, 150));
    dir.write("INTERF/SMALFONT.PCX", picture(400, 7, 255));
    dir.write("INTERF/BIGFONT.PCX", picture(900, 15, 255));
    std::string ini = "[General]\nTexture=bank.txt\nFogRed=10\nFogGreen=20\nFogBlue=30\n";
    for (const char* key :
         {"Hero", "Hero_Walk1", "Hero_Walk2", "Hero_Walk3", "Hero_Walk4", "Hero_Fall",
          "Hero_Crouch", "Hero_Dead", "Hero_Ladder1", "Hero_Ladder2", "Hero_Shoot"})
        ini += std::string(key) + "=hero.3do\n";
    ini += "Shadow=shadow.3do\nEnnemy_Mesh=enemy.3do\nSky=sky.3do\n";
    ini += "Music0=title.mid\nMusic0Name=Title\nMusic1=end.wav\nMusic1Loop=true\nMusic1Video=end."
           "avi\n";
    dir.write(kDefinitionFile, ini + objects);
}
