#pragma once
// Helpers of the file tests: a fresh temporary folder per test, whole-file reads and writes, a
// file system whose disk fills up, whose reads fail or whose free space is chosen, and shell runs
// of the command-line tools.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "common/converter.hpp"

namespace testfiles {

class TempFolder {
  public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("gw-files-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The real file system with faults put in on demand.
class FaultyFiles final : public common::FileAccess {
  public:
    std::optional<std::uintmax_t> writableBytes;  // the disk is full after this many bytes
    bool failClose = false;
    std::optional<std::uintmax_t> readableBytes;  // reading fails after this many bytes
    std::optional<std::uintmax_t> endAfterBytes;  // the source ends early, cut by someone else
    std::optional<std::uintmax_t> freeSpace;      // reported free space
    bool cannotCreateFolder = false;

    std::unique_ptr<common::ByteSource> OpenSource(const std::filesystem::path& path,
                                                   std::error_code& error) const override {
        auto real = common::RealFiles().OpenSource(path, error);
        if (!real || (!readableBytes && !endAfterBytes)) return real;
        return std::make_unique<FailingSource>(
            std::move(real), readableBytes ? *readableBytes : *endAfterBytes, !readableBytes);
    }
    std::unique_ptr<common::ByteSink> CreateNew(const std::filesystem::path& path,
                                                std::error_code& error) const override {
        auto real = common::RealFiles().CreateNew(path, error);
        if (!real) return real;
        return std::make_unique<FailingSink>(std::move(real), writableBytes, failClose);
    }
    bool RenameNew(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error) const override {
        return common::RealFiles().RenameNew(from, to, error);
    }
    bool Exists(const std::filesystem::path& path) const override {
        return common::RealFiles().Exists(path);
    }
    std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path) const override {
        return common::RealFiles().FileSize(path);
    }
    std::optional<std::uintmax_t> FreeSpace(const std::filesystem::path& folder) const override {
        if (freeSpace) return freeSpace;
        return common::RealFiles().FreeSpace(folder);
    }
    bool Remove(const std::filesystem::path& path) const override {
        return common::RealFiles().Remove(path);
    }
    bool CreateFolder(const std::filesystem::path& path, std::error_code& error) const override {
        if (cannotCreateFolder) {
            error = std::make_error_code(std::errc::permission_denied);
            return false;
        }
        return common::RealFiles().CreateFolder(path, error);
    }
    bool RemoveEmptyFolder(const std::filesystem::path& path) const override {
        return common::RealFiles().RemoveEmptyFolder(path);
    }

  private:
    class FailingSource final : public common::ByteSource {
      public:
        FailingSource(std::unique_ptr<common::ByteSource> real, std::uintmax_t readable,
                      bool endsQuietly)
            : real_(std::move(real)), left_(readable), endsQuietly_(endsQuietly) {}
        std::ptrdiff_t Read(char* buffer, std::size_t size) override {
            if (left_ == 0) return endsQuietly_ ? 0 : -1;
            const std::ptrdiff_t count = real_->Read(
                buffer, static_cast<std::size_t>(std::min<std::uintmax_t>(size, left_)));
            if (count > 0) left_ -= static_cast<std::uintmax_t>(count);
            return count;
        }
        std::error_code Error() const override { return std::make_error_code(std::errc::io_error); }

      private:
        std::unique_ptr<common::ByteSource> real_;
        std::uintmax_t left_;
        bool endsQuietly_;
    };

    class FailingSink final : public common::ByteSink {
      public:
        FailingSink(std::unique_ptr<common::ByteSink> real, std::optional<std::uintmax_t> writable,
                    bool failClose)
            : real_(std::move(real)), left_(writable), failClose_(failClose) {}
        bool Write(const char* data, std::size_t size) override {
            if (!left_) return real_->Write(data, size);
            // What still fits reaches the file, as on a disk that fills up.
            const std::size_t fits =
                static_cast<std::size_t>(std::min<std::uintmax_t>(size, *left_));
            const bool written = real_->Write(data, fits);
            *left_ -= fits;
            return written && fits == size;
        }
        bool Close() override { return real_->Close() && !failClose_; }
        std::error_code Error() const override {
            return std::make_error_code(std::errc::no_space_on_device);
        }

      private:
        std::unique_ptr<common::ByteSink> real_;
        std::optional<std::uintmax_t> left_;
        bool failClose_;
    };
};

// `text` in single quotes for the shell.
inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// What a shell command line exited with and wrote.
struct ShellRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `command` with bash (a failing step of a pipe fails it) in `directory`, `input` on its
// stdin; its stdin, stdout and stderr pass through files in `scratch`.
inline ShellRun RunShell(const std::string& command, const std::string& input,
                         const std::filesystem::path& scratch,
                         const std::filesystem::path& directory = ".") {
    WriteBytes(scratch / "stdin", input);
    const std::string line = "cd " + ShellQuoted(directory.string()) + " && bash -o pipefail -c " +
                             ShellQuoted(command) + " < " +
                             ShellQuoted((scratch / "stdin").string()) + " > " +
                             ShellQuoted((scratch / "stdout").string()) + " 2> " +
                             ShellQuoted((scratch / "stderr").string());
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(scratch / "stdout"),
            ReadBytes(scratch / "stderr")};
}

}  // namespace testfiles
