// Helpers shared by the test programs: temporary folders and files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& relative) const { return (path_ / relative).string(); }
    // Writes `bytes` to `relative`, creating its folders.
    std::string write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const;
    std::string write(const std::string& relative, const std::string& text) const;

  private:
    std::filesystem::path path_;
};

// Makes `folder` the current directory until the end of the scope.
class ScopedCurrentDir {
  public:
    explicit ScopedCurrentDir(const std::filesystem::path& folder);
    ~ScopedCurrentDir();
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

  private:
    std::filesystem::path previous_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& file);

// Grows `file` to `size` bytes of zeros without writing them: a sparse tail
// that costs nothing unless a reader reads it.
void ExtendSparse(const std::string& file, std::uint64_t size);

// Bytes this process has read through system calls so far (Linux's rchar),
// to check that a reader left a file's tail alone.
std::uint64_t BytesReadSoFar();
