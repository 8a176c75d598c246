// Data files: every path the game names ("3do\Game\Transi1.3do") is resolved
// with '\' as '/' and each component matched without regard to case.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The path of an existing file or folder matching `name` (relative to the
// current directory unless absolute), or the name with '\' turned into '/'
// when nothing matches (so that a new file is created under that name).
std::string ResolvePath(const std::string& name);

// True for a name that stays inside the current (data) folder: relative, and
// never climbing above its start with "..". Names read from data files (a
// level's definition file, a bank, its images, meshes) must pass this before
// they are opened, so that a data file cannot reach or create files elsewhere;
// the programs' own paths (options, settings, temporary folders) need not.
bool IsDataFileName(const std::string& name);

bool FileExists(const std::string& name);

// This process's number, for file names that two copies of a program running
// at once must not share.
std::int64_t CurrentProcessId();

// True for a regular file whose permission bits let this process write it:
// the owner's, group's or others' write bit, whichever class the process is
// in. The superuser counts as the owner, so that a file marked read-only
// stays so for it too (which the access check, answering yes to the
// superuser, would not say).
bool WritableByPermissionBits(const std::string& name);

// A regular file opened for reading in pieces, so that a reader fetches the
// bytes its format needs and never a tail it does not. The size is taken when
// the file is opened.
class FileReader {
  public:
    // Nothing when the file is missing, is not a regular file or cannot be opened.
    static std::optional<FileReader> Open(const std::string& name);

    FileReader(FileReader&& other) noexcept;
    FileReader& operator=(FileReader&& other) noexcept;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    ~FileReader();

    std::uint64_t Size() const { return size_; }
    // `length` bytes from `offset`; nothing when they do not all lie within
    // the size or cannot be read.
    std::optional<std::vector<std::uint8_t>> Read(std::uint64_t offset, std::uint64_t length) const;

  private:
    FileReader(int descriptor, std::uint64_t size) : descriptor_(descriptor), size_(size) {}
    int descriptor_ = -1;
    std::uint64_t size_ = 0;
};

// Whole file; nullopt when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name);

// The largest text file the programs read (settings, definitions, bank
// listings, input scripts): far above any real one, far below what would
// strain memory.
constexpr std::uint64_t kTextFileLimit = 16u << 20;

enum class SmallFileStatus { Read, Missing, TooLarge };
struct SmallFile {
    SmallFileStatus status = SmallFileStatus::Missing;
    std::vector<std::uint8_t> bytes; // when Read
};

// Whole file when it holds at most `limit` bytes; a larger one is not read.
// Missing covers a file that cannot be opened or read.
SmallFile ReadSmallFile(const std::string& name, std::uint64_t limit = kTextFileLimit);

// "<what> is larger than 16 MiB": the message for a text file over the limit.
std::string TooLargeText(const std::string& what, std::uint64_t limit = kTextFileLimit);

// Writes through a fresh temporary file beside the target, created so that
// nothing already under its name is followed or reused, synced to the disk,
// then renamed into place (and the folder synced); the temporary file is
// removed when anything fails. A target that is a symbolic link stays one: the
// file it points at is replaced. Temporary files of a killed writer
// ("NAME.<12 hex digits>.tmp") older than kLeftoverTemporaryAge are removed
// from the folder on the way.
bool WriteWholeFile(const std::string& name, const std::vector<std::uint8_t>& data);

// As WriteWholeFile, but bytes of an existing longer file past the end of
// `data` are kept, as when writing over the start of the file. False (and the
// file untouched) when the existing file cannot be read.
bool WriteFileStart(const std::string& name, const std::vector<std::uint8_t>& data);

// Creates `path` as a new file and opens it for writing, refusing when
// anything is there already, a symlink included (O_CREAT | O_EXCL |
// O_NOFOLLOW); mode 0666 less the umask, as any new file. The descriptor, or
// -1. The writers make their temporary files with it.
int CreateNewFile(const std::string& path);

// How long a temporary file of ours must lie untouched before a writer in its
// folder takes it for the leftover of a killed one.
constexpr std::chrono::seconds kLeftoverTemporaryAge{60};

// True for a name of the writers' temporary pattern "NAME.<12 hex digits>.tmp".
bool IsOurTemporaryName(const std::string& name);

// A file named on a command line: a relative name found from where the
// program was started becomes absolute (the programs move into their data
// folder); any other name is kept, to be looked up inside the data folder.
std::string StartFolderOrDataPath(const std::string& name);

// Entry names of a folder ("." and ".." included, as the platform lists
// them); nullopt when the folder cannot be opened.
std::optional<std::vector<std::string>> ListFolder(const std::string& name);

// Last path component (after the last '/' or '\').
std::string BaseName(const std::string& path);
