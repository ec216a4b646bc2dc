#pragma once
// The file system as the converters and the batch run see it: sources, targets, the reasons of
// failures and the hidden names targets are written under. `RealFiles()` is the real one; tests
// put a failing disk or a full drive in its place. Nothing here throws.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace common {

// File access.

// Bytes of a source. Read returns the count read (0 at the end) or -1 when reading fails.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
    // Why the last Read failed; empty when the reason is unknown.
    virtual std::error_code Error() const { return {}; }
};

// Bytes of a target. Write returns false when the bytes did not reach the file; Close puts
// everything on the disk and closes, false when that failed. A sink destroyed without Close is
// abandoned: closed, with no promise about its bytes.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool Close() = 0;
    // Why the last Write or Close failed; empty when the reason is unknown.
    virtual std::error_code Error() const { return {}; }
};

// The file system as the converters and the batch run see it. `RealFiles()` is the real one.
// Failing operations say why through `error` (an errno value, or `FileError`).
class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // nullptr when the file cannot be opened for reading or is not a regular file: a folder, a
    // device or a pipe would block the run or never end.
    virtual std::unique_ptr<ByteSource> OpenSource(const std::filesystem::path& path,
                                                   std::error_code& error) const = 0;
    // Creates a file that does not exist yet; never opens, truncates or follows an entry that
    // has the name already (the error is then `std::errc::file_exists`).
    virtual std::unique_ptr<ByteSink> CreateNew(const std::filesystem::path& path,
                                                std::error_code& error) const = 0;
    // Gives the file `from` the name `to`; fails and changes nothing when `to` exists.
    virtual bool RenameNew(const std::filesystem::path& from, const std::filesystem::path& to,
                           std::error_code& error) const = 0;
    // True when any entry has this name, a dangling symbolic link included.
    virtual bool Exists(const std::filesystem::path& path) const = 0;
    // Size of a file in bytes; empty when unknown.
    virtual std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path) const = 0;
    // Free bytes of the drive holding `folder`; empty when unknown.
    virtual std::optional<std::uintmax_t> FreeSpace(const std::filesystem::path& folder) const = 0;
    // Removes a file (never a folder).
    virtual bool Remove(const std::filesystem::path& path) const = 0;
    // Creates one folder; false when it cannot be created, also when it exists already.
    virtual bool CreateFolder(const std::filesystem::path& path, std::error_code& error) const = 0;
    // Removes a folder only while it is empty.
    virtual bool RemoveEmptyFolder(const std::filesystem::path& path) const = 0;
};

const FileAccess& RealFiles();

// Reasons of the file layer that have no errno value.
enum class FileError {
    NotRegularFile = 1,  // a folder, a device or a pipe given as a source
    SourceChanged,       // the source changed its size while it was read
    NoFreeName,          // no temporary name was free beside the target
};
std::error_code MakeError(FileError error);

// A path as UTF-8 text for messages (on POSIX the bytes of the name, unchanged).
std::string PathText(const std::filesystem::path& path);

// "path" or "path: reason", the way a terminal names the cause of a failure.
std::string FileCause(const std::filesystem::path& path, std::error_code error);

// The hidden name a target is written under: "." + its name + ".part-" + six characters from
// `tag`, in the target's folder. Long names are shortened so that the result is a valid name.
std::filesystem::path TemporaryTargetName(const std::filesystem::path& target, std::uint32_t tag);

}  // namespace common
