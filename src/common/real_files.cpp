// The real file system behind FileAccess, on POSIX descriptors: unbuffered reads and writes (the
// line reader and writer buffer a MiB at a time), sources that must be regular files, targets
// created exclusively, synced before they are named, and renamed without replacing anything.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>  // renameat2

#include "common/cli_convert.hpp"
#include "common/converter.hpp"

namespace common {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Reads a descriptor. A read cut short by a signal is repeated unless `stop` is set: a command
// waiting on its standard input must notice Ctrl-C.
class DescriptorSource final : public ByteSource {
  public:
    DescriptorSource(int descriptor, bool owned, const std::atomic<bool>* stop = nullptr)
        : descriptor_(descriptor), owned_(owned), stop_(stop) {}
    ~DescriptorSource() override {
        if (owned_) ::close(descriptor_);
    }
    DescriptorSource(const DescriptorSource&) = delete;
    DescriptorSource& operator=(const DescriptorSource&) = delete;

    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t count = ::read(descriptor_, buffer, size);
            if (count >= 0) return count;
            if (errno == EINTR && (stop_ == nullptr || !stop_->load())) continue;
            error_ = LastError();
            return -1;
        }
    }
    std::error_code Error() const override { return error_; }

  private:
    int descriptor_;
    bool owned_;
    const std::atomic<bool>* stop_;
    std::error_code error_;
};

// Writes a descriptor. A file created here is synced and closed by Close; the standard output
// is only handed what was written. A write that a signal interrupts, or that would go on after
// `stop` was set, fails once `stop` is set: a reader that takes nothing must not hold a stopped
// command.
class DescriptorSink final : public ByteSink {
  public:
    DescriptorSink(int descriptor, bool ownedFile, const std::atomic<bool>* stop = nullptr)
        : descriptor_(descriptor), owned_(ownedFile), stop_(stop) {}
    ~DescriptorSink() override {
        if (owned_ && descriptor_ >= 0) ::close(descriptor_);
    }
    DescriptorSink(const DescriptorSink&) = delete;
    DescriptorSink& operator=(const DescriptorSink&) = delete;

    bool Write(const char* data, std::size_t size) override {
        if (descriptor_ < 0) return Fail(EBADF);
        while (size > 0) {
            if (stop_ != nullptr && stop_->load()) return Fail(EINTR);
            const ssize_t count = ::write(descriptor_, data, size);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) return Fail(count < 0 ? errno : EIO);
            data += count;
            size -= static_cast<std::size_t>(count);
        }
        return true;
    }
    bool Close() override {
        if (!owned_) return true;
        if (descriptor_ < 0) return Fail(EBADF);
        // On the disk before the file gets its name, so that a power cut cannot leave a short
        // file under it. A file system that cannot sync (EINVAL) still gets the file.
        const bool synced = ::fsync(descriptor_) == 0 || errno == EINVAL;
        const int syncError = errno;
        const bool closed = ::close(descriptor_) == 0;
        const int closeError = errno;
        descriptor_ = -1;
        if (!synced) return Fail(syncError);
        if (!closed) return Fail(closeError);
        return true;
    }
    std::error_code Error() const override { return error_; }

  private:
    bool Fail(int value) {
        error_ = std::error_code(value, std::generic_category());
        return false;
    }

    int descriptor_;
    bool owned_;
    const std::atomic<bool>* stop_;
    std::error_code error_;
};

// Tries a rename that refuses to replace, for file systems without renameat2's flag: a hard
// link fails on a taken name as well. False with `error` set when neither is supported.
bool LinkInstead(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::error_code& error) {
    if (::link(from.c_str(), to.c_str()) != 0) {
        error = LastError();
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

// renameat2 without RENAME_NOREPLACE on this kernel or file system.
bool NoReplaceUnsupported(int value) {
    return value == EINVAL || value == ENOSYS || value == ENOTSUP;
}

// No hard links on this file system (FAT, many FUSE file systems).
bool LinksUnsupported(int value) {
    return value == EPERM || value == ENOSYS || value == ENOTSUP;
}

class RealFileAccess final : public FileAccess {
  public:
    std::unique_ptr<ByteSource> OpenSource(const std::filesystem::path& path,
                                           std::error_code& error) const override {
        // Not blocking in open: a pipe without a writer or a terminal would wait forever.
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (descriptor < 0) {
            error = LastError();
            return nullptr;
        }
        // What the descriptor is, not what the name was a moment ago.
        struct stat info {};
        std::error_code refusal;
        if (::fstat(descriptor, &info) != 0) {
            refusal = LastError();
        } else if (S_ISDIR(info.st_mode)) {
            refusal = std::make_error_code(std::errc::is_a_directory);
        } else if (!S_ISREG(info.st_mode)) {
            refusal = MakeError(FileError::NotRegularFile);
        }
        if (refusal) {
            error = refusal;
            ::close(descriptor);
            return nullptr;
        }
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
        return std::make_unique<DescriptorSource>(descriptor, true);
    }
    std::unique_ptr<ByteSink> CreateNew(const std::filesystem::path& path,
                                        std::error_code& error) const override {
        const int descriptor =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (descriptor < 0) {
            error = LastError();
            return nullptr;
        }
        return std::make_unique<DescriptorSink>(descriptor, true);
    }
    bool RenameNew(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error) const override {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        error = LastError();
        if (!NoReplaceUnsupported(error.value())) return false;
        if (LinkInstead(from, to, error)) return true;
        if (!LinksUnsupported(error.value())) return false;
        // Neither is supported (some network and FUSE file systems). The folder is the run's
        // own new RECALC, so a name can only be taken by another program in between.
        if (Exists(to)) {
            error = std::make_error_code(std::errc::file_exists);
            return false;
        }
        if (::rename(from.c_str(), to.c_str()) == 0) return true;
        error = LastError();
        return false;
    }
    bool Exists(const std::filesystem::path& path) const override {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0;
    }
    std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path) const override {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (error) return std::nullopt;
        return size;
    }
    std::optional<std::uintmax_t> FreeSpace(const std::filesystem::path& folder) const override {
        std::error_code error;
        const std::filesystem::space_info space =
            std::filesystem::space(folder.empty() ? std::filesystem::path(".") : folder, error);
        if (error) return std::nullopt;
        return space.available;
    }
    bool Remove(const std::filesystem::path& path) const override {
        return ::unlink(path.c_str()) == 0;
    }
    bool CreateFolder(const std::filesystem::path& path, std::error_code& error) const override {
        if (::mkdir(path.c_str(), 0777) == 0) return true;
        error = LastError();
        return false;
    }
    bool RemoveEmptyFolder(const std::filesystem::path& path) const override {
        return ::rmdir(path.c_str()) == 0;
    }
};

}  // namespace

const FileAccess& RealFiles() {
    static const RealFileAccess files;
    return files;
}

std::unique_ptr<ByteSource> StandardInput(const std::atomic<bool>* stop) {
    return std::make_unique<DescriptorSource>(STDIN_FILENO, false, stop);
}

std::unique_ptr<ByteSink> StandardOutput(const std::atomic<bool>* stop) {
    return std::make_unique<DescriptorSink>(STDOUT_FILENO, false, stop);
}

}  // namespace common
