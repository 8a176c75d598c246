#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <new>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

#include "platform/text_case.h"

namespace fs = std::filesystem;

bool IsOurTemporaryName(const std::string& name) {
    constexpr std::size_t kTail = 1 + 12 + 4; // ".<hex>.tmp"
    if (name.size() <= kTail || name.compare(name.size() - 4, 4, ".tmp") != 0) return false;
    const std::size_t dot = name.size() - kTail;
    if (name[dot] != '.') return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dot + 1), name.end() - 4,
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

namespace {

// Splits on '/' and '\', dropping empty components.
std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '/' || c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

bool writeAll(int descriptor, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Twelve random hex digits: names that cannot be guessed in advance.
std::string randomSuffix() {
    thread_local std::mt19937_64 generator{[] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^
               static_cast<std::uint64_t>(::getpid());
    }()};
    static const char digits[] = "0123456789abcdef";
    std::uint64_t bits = generator();
    std::string text(12, '0');
    for (char& c : text) {
        c = digits[bits & 15];
        bits >>= 4;
    }
    return text;
}

// The folder part of a path ("." for a bare name).
std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Removes temporary files of our pattern in `folder` left by a writer that
// was killed midway. Only plain files untouched for a minute go: a younger one
// may belong to a save still in progress in another process.
void removeLeftoverTemporaries(const std::string& folder) {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsOurTemporaryName(name)) continue;
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || it->is_symlink(entryError)) continue;
        const auto written = it->last_write_time(entryError);
        if (entryError || now - written < kLeftoverTemporaryAge) continue;
        ::unlink(it->path().c_str());
    }
}

// The file a write to `target` lands in: a symbolic link is followed to the
// file it names (however many links deep, up to a limit), so that saving
// keeps the link and changes what it points at. Nothing for a loop of links.
std::optional<std::string> writeTarget(const std::string& target) {
    std::string path = target;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)) || ec) return path;
        const fs::path link = fs::read_symlink(path, ec);
        if (ec) return std::nullopt;
        path = link.is_absolute() ? link.string() : (fs::path(folderOf(path)) / link).string();
    }
    return std::nullopt;
}

bool syncFolder(const std::string& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool ok = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return ok;
}

// Creates a fresh temporary file beside the file `target` names, lets `fill`
// write it and renames it over that file. Names already taken, by anything,
// are skipped. The data reaches the disk before the rename and the rename
// before the return, so that a power cut leaves the old file or the new one.
bool writeThroughTemporary(const std::string& target, const std::function<bool(int)>& fill) {
    const std::optional<std::string> followed = writeTarget(target);
    if (!followed) return false;
    const std::string& destination = *followed;
    removeLeftoverTemporaries(folderOf(destination));
    std::string temporary;
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary = destination + "." + randomSuffix() + ".tmp";
        descriptor = CreateNewFile(temporary);
        if (descriptor < 0 && errno != EEXIST) return false;
    }
    if (descriptor < 0) return false;
    bool ok = fill(descriptor);
    ok = ok && ::fsync(descriptor) == 0;
    ok = ::close(descriptor) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), destination.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename is done; a folder that cannot be synced (some file systems
    // refuse) leaves the new file in place all the same.
    syncFolder(folderOf(destination));
    return true;
}

} // namespace

std::string ResolvePath(const std::string& name) {
    std::string slashed = name;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    std::error_code ec;
    if (slashed.empty() || fs::exists(slashed, ec)) return slashed;

    fs::path current = slashed.front() == '/' ? fs::path("/") : fs::path(".");
    const bool relative = slashed.front() != '/';
    for (const std::string& part : components(slashed)) {
        fs::path exact = current / part;
        if (part == "." || part == ".." || fs::exists(exact, ec)) {
            current = exact;
            continue;
        }
        bool found = false;
        for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
            if (EqualNoCase(it->path().filename().string(), part)) {
                current = it->path();
                found = true;
                break;
            }
        }
        if (!found) return slashed;
    }
    std::string result = current.lexically_normal().string();
    if (relative && result.rfind("./", 0) == 0) result.erase(0, 2);
    return result;
}

bool IsDataFileName(const std::string& name) {
    if (!name.empty() && (name.front() == '/' || name.front() == '\\')) return false;
    int depth = 0;
    for (const std::string& part : components(name)) {
        if (part == "..") {
            if (--depth < 0) return false;
        } else if (part != ".") {
            ++depth;
        }
    }
    return true;
}

std::int64_t CurrentProcessId() {
    return static_cast<std::int64_t>(::getpid());
}

bool FileExists(const std::string& name) {
    std::error_code ec;
    return fs::is_regular_file(ResolvePath(name), ec);
}

bool WritableByPermissionBits(const std::string& name) {
    struct stat status {};
    if (::stat(ResolvePath(name).c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    const uid_t user = ::geteuid();
    if (user == 0 || user == status.st_uid) return (status.st_mode & S_IWUSR) != 0;
    if (::getegid() == status.st_gid) return (status.st_mode & S_IWGRP) != 0;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    if (count >= 0 &&
        std::find(groups.begin(), groups.begin() + count, status.st_gid) != groups.begin() + count)
        return (status.st_mode & S_IWGRP) != 0;
    return (status.st_mode & S_IWOTH) != 0;
}

std::optional<FileReader> FileReader::Open(const std::string& name) {
    // Not blocking: a pipe planted under the name must not hang the reader.
    const int descriptor =
        ::open(ResolvePath(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) return std::nullopt;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        ::close(descriptor);
        return std::nullopt;
    }
    return FileReader(descriptor, static_cast<std::uint64_t>(status.st_size));
}

FileReader::FileReader(FileReader&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), size_(other.size_) {}

FileReader& FileReader::operator=(FileReader&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
        size_ = other.size_;
    }
    return *this;
}

FileReader::~FileReader() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

std::optional<std::vector<std::uint8_t>> FileReader::Read(std::uint64_t offset,
                                                          std::uint64_t length) const {
    if (offset > size_ || length > size_ - offset) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(descriptor_, bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt; // an error, or the file shrank
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name) {
    const auto file = FileReader::Open(name);
    if (!file) return std::nullopt;
    return file->Read(0, file->Size());
}

SmallFile ReadSmallFile(const std::string& name, std::uint64_t limit) {
    const auto file = FileReader::Open(name);
    if (!file) return {};
    if (file->Size() > limit) return {SmallFileStatus::TooLarge, {}};
    auto bytes = file->Read(0, file->Size());
    if (!bytes) return {};
    return {SmallFileStatus::Read, std::move(*bytes)};
}

std::string TooLargeText(const std::string& what, std::uint64_t limit) {
    return what + " is larger than " + std::to_string(limit >> 20) + " MiB";
}

int CreateNewFile(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

bool WriteWholeFile(const std::string& name, const std::vector<std::uint8_t>& data) {
    return writeThroughTemporary(ResolvePath(name), [&data](int descriptor) {
        return writeAll(descriptor, data.data(), data.size());
    });
}

bool WriteFileStart(const std::string& name, const std::vector<std::uint8_t>& data) {
    std::optional<FileReader> old;
    if (FileExists(name)) {
        old = FileReader::Open(name);
        if (!old) return false;
    }
    return writeThroughTemporary(ResolvePath(name), [&](int descriptor) {
        if (!writeAll(descriptor, data.data(), data.size())) return false;
        if (!old) return true;
        // The old tail is copied piece by piece: it may be far larger than memory allows.
        constexpr std::uint64_t kPiece = 1u << 20;
        for (std::uint64_t at = data.size(); at < old->Size(); at += kPiece) {
            const auto piece = old->Read(at, std::min(kPiece, old->Size() - at));
            if (!piece || !writeAll(descriptor, piece->data(), piece->size())) return false;
        }
        return true;
    });
}

std::optional<std::vector<std::string>> ListFolder(const std::string& name) {
    std::error_code ec;
    fs::directory_iterator it(ResolvePath(name), ec);
    if (ec) return std::nullopt;
    std::vector<std::string> names{".", ".."};
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) return std::nullopt;
        names.push_back(it->path().filename().string());
    }
    return names;
}

std::string StartFolderOrDataPath(const std::string& name) {
    std::error_code ec;
    if (name.empty() || fs::path(name).is_absolute()) return name;
    if (fs::is_regular_file(name, ec)) return fs::absolute(name, ec).string();
    return name;
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
