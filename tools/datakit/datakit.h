// The data kit: writes every file of the default data set into one folder,
// deterministically (the same bytes on every run and machine).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct DataKit {
    std::filesystem::path out;     // the data folder being written
    std::filesystem::path sources; // the hand-written sources (data/ of the repository)
};

// Writes `bytes` to `relative` under the output folder, creating folders.
// Throws std::runtime_error when the file cannot be written.
void WriteDataFile(const DataKit& kit, const std::string& relative,
                   const std::vector<std::uint8_t>& bytes);
void WriteDataFile(const DataKit& kit, const std::string& relative, const std::string& text);

// Makes a folder the current directory for one scope: data files name each
// other relative to the data folder, as the game opens them.
class InFolder {
  public:
    explicit InFolder(const std::filesystem::path& folder);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

  private:
    std::filesystem::path previous_;
};

// Reads a hand-written source file under data/; throws when missing.
std::string ReadSourceFile(const DataKit& kit, const std::string& relative);

// Every generator below, in order: the whole data set into kit.out.
void GenerateDataSet(const DataKit& kit);

// The generators, in the order they run (later ones may read what earlier
// ones wrote, e.g. the level renderer needs the bank and meshes).
void GenerateTextures(const DataKit& kit);    // palette, textures, bank list
void GenerateInterface(const DataKit& kit);   // interface pictures and both fonts
void GenerateMeshes(const DataKit& kit);      // every .3do
void GenerateSounds(const DataKit& kit);      // sound effects
void GenerateMusic(const DataKit& kit);       // module, MIDI, wave music, CD tracks
void GenerateDefinitions(const DataKit& kit); // Standard.bnk and game.dat
void GenerateLevels(const DataKit& kit);      // LEVEL/*.lev from data/levels
void GenerateColourCache(const DataKit& kit); // the .POT blend-table cache
void GenerateVideo(const DataKit& kit);       // the video clip, drawn by the renderer
