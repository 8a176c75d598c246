#include "support/test_support.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("kelvane-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TempDir::write(const std::string& relative,
                           const std::vector<std::uint8_t>& bytes) const {
    const fs::path target = path_ / relative;
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return target.string();
}

std::string TempDir::write(const std::string& relative, const std::string& text) const {
    return write(relative, std::vector<std::uint8_t>(text.begin(), text.end()));
}

ScopedCurrentDir::ScopedCurrentDir(const fs::path& folder) : previous_(fs::current_path()) {
    fs::current_path(folder);
}

ScopedCurrentDir::~ScopedCurrentDir() {
    std::error_code ec;
    fs::current_path(previous_, ec);
}

std::vector<std::uint8_t> ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ExtendSparse(const std::string& file, std::uint64_t size) {
    if (::truncate(file.c_str(), static_cast<off_t>(size)) != 0)
        throw std::runtime_error("cannot extend " + file);
}

std::uint64_t BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    for (std::string key; io >> key;) {
        std::uint64_t value = 0;
        io >> value;
        if (key == "rchar:") return value;
    }
    throw std::runtime_error("no rchar in /proc/self/io");
}
