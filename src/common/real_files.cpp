// The real file system behind FileAccess: binary streams without their own buffer (the line
// reader and writer buffer a MiB at a time) and std::filesystem for sizes, space and folders.

#include <fstream>
#include <system_error>

#include "common/pointfile.hpp"

namespace common {
namespace {

class FileSource final : public ByteSource {
  public:
    explicit FileSource(const std::filesystem::path& path) {
        stream_.rdbuf()->pubsetbuf(nullptr, 0);
        stream_.open(path, std::ios::in | std::ios::binary);
    }
    bool IsOpen() const { return stream_.is_open(); }

    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        if (stream_.bad()) return -1;
        if (stream_.eof()) return 0;
        stream_.read(buffer, static_cast<std::streamsize>(size));
        if (stream_.bad()) return -1;
        return static_cast<std::ptrdiff_t>(stream_.gcount());
    }

  private:
    std::ifstream stream_;
};

class FileSink final : public ByteSink {
  public:
    explicit FileSink(const std::filesystem::path& path) {
        stream_.rdbuf()->pubsetbuf(nullptr, 0);
        stream_.open(path, std::ios::out | std::ios::binary | std::ios::trunc);
    }
    bool IsOpen() const { return stream_.is_open(); }

    bool Write(const char* data, std::size_t size) override {
        stream_.write(data, static_cast<std::streamsize>(size));
        return !stream_.fail();
    }
    bool Close() override {
        if (!stream_.is_open()) return false;
        stream_.close();
        return !stream_.fail();
    }

  private:
    std::ofstream stream_;
};

class RealFileAccess final : public FileAccess {
  public:
    std::unique_ptr<ByteSource> OpenSource(const std::filesystem::path& path) const override {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) return nullptr;
        auto source = std::make_unique<FileSource>(path);
        if (!source->IsOpen()) return nullptr;
        return source;
    }
    std::unique_ptr<ByteSink> CreateTarget(const std::filesystem::path& path) const override {
        auto sink = std::make_unique<FileSink>(path);
        if (!sink->IsOpen()) return nullptr;
        return sink;
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
        std::error_code error;
        return std::filesystem::remove(path, error);
    }
    bool CreateFolder(const std::filesystem::path& path) const override {
        std::error_code error;
        return std::filesystem::create_directory(path, error) && !error;
    }
    bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) const override {
        std::error_code error;
        return std::filesystem::equivalent(a, b, error) && !error;
    }
};

}  // namespace

const FileAccess& RealFiles() {
    static const RealFileAccess files;
    return files;
}

}  // namespace common
