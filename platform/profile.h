// INI ("profile") files read and written the way the Windows profile
// functions do it: "[Section]" lines and "Key=Value" lines, section and key
// names compared without regard to case, names and values trimmed of
// surrounding blanks, a value in matching quotes loses them, lines starting
// with ';' are comments, and when a section or a key appears twice the first
// one wins. A missing file reads as a file without keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/loaded.h"

// The parsed keys of one file, by lower-cased section and key name.
struct ProfileData {
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections;
};

// The buffer the programs hand to the string reader: values longer than
// 2047 characters come back cut.
constexpr std::size_t kProfileBufferSize = 2048;

ProfileData ParseProfile(std::string_view text);
// Reads and parses a file; a missing or unreadable file gives no sections. A
// file above kTextFileLimit (16 MiB) is not read: the error says
// "The file <file> is larger than 16 MiB.".
Loaded<ProfileData> ReadProfileFile(const std::string& file);
// The same with an over-size file read as empty too.
ProfileData ReadProfile(const std::string& file);

// The value of section/key, or `fallback` (trailing blanks removed) when the
// key is missing. The result is cut to bufferSize - 1 characters, as a caller's
// buffer of that size would hold it.
std::string ProfileString(const ProfileData& profile, std::string_view section,
                          std::string_view key, std::string_view fallback,
                          std::size_t bufferSize = kProfileBufferSize);

// Decimal with an optional sign, or hexadecimal after "0x"/"0X"; anything
// else (empty, trailing letters, out of the 32-bit range) is not a number.
std::optional<std::int32_t> ParseProfileInteger(std::string_view text);

// The value read as an integer, `fallback` when missing or not a number.
std::int32_t ProfileInt(const ProfileData& profile, std::string_view section, std::string_view key,
                        std::int32_t fallback);

// A flag: true when the value (or the fallback text, when missing) is "TRUE"
// in upper case.
bool ProfileFlag(const ProfileData& profile, std::string_view section, std::string_view key,
                 std::string_view fallback);

// The same operations on a file, read anew at every call.
std::string GetProfileString(const std::string& file, std::string_view section,
                             std::string_view key, std::string_view fallback,
                             std::size_t bufferSize = kProfileBufferSize);
std::int32_t GetProfileInt(const std::string& file, std::string_view section, std::string_view key,
                           std::int32_t fallback);

// `text` with section/key set to value: an existing key line is replaced, a
// new key goes after the last key of its section, a new section is appended.
// Everything else (comments, order, other sections) stays as it was. Returns
// nullopt for names or values that could not be read back as written (empty
// names, line breaks, ']' in a section name, '=' in a key name).
std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

// Writes section/key = value into the file (created when missing) through a
// fresh temporary file renamed into place. False when the file cannot be
// written, an existing one cannot be read whole (over 16 MiB included) or the
// names cannot be stored.
bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);

struct ProfileEntry {
    std::string section, key, value;
};
// Writes every entry, in order, in one replacement of the file: either all of
// them are written or the file stays as it was. False as WriteProfileString.
bool WriteProfileStrings(const std::string& file, const std::vector<ProfileEntry>& entries);
