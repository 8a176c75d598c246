#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool equalNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

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
            if (equalNoCase(it->path().filename().string(), part)) {
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

bool FileExists(const std::string& name) {
    std::error_code ec;
    return fs::is_regular_file(ResolvePath(name), ec);
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name) {
    // A folder opens as a stream on this platform but fails on the first read.
    const std::string path = ResolvePath(name);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    try {
        std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
        if (in.bad()) return std::nullopt;
        return data;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool WriteWholeFile(const std::string& name, const std::vector<std::uint8_t>& data) {
    const std::string target = ResolvePath(name);
    const std::string temporary = target + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(data.data()),
                  static_cast<std::streamsize>(data.size()));
        if (!out.flush()) {
            std::error_code ec;
            fs::remove(temporary, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) fs::remove(temporary, ec);
    return !ec;
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

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
