#pragma once
// A file system in memory for the fuzz targets: sources are served in reads of a chosen size,
// a target can fill the "disk" after a chosen number of bytes, and every file left behind can be
// inspected. It records what a converter must never do: write to a source, write after close,
// or leave a target open.

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "common/converter.hpp"
#include "fuzz_check.hpp"

namespace fuzz {

class MemoryFiles final : public common::FileAccess {
  public:
    std::size_t readChunk = 1 << 16;           // bytes handed out per Read
    std::optional<std::size_t> writableBytes;  // the disk is full after this many bytes
    std::optional<std::size_t> readableBytes;  // reading fails after this many bytes
    mutable int openTargets = 0;

    void Put(const std::string& path, std::string bytes) { files_[path] = std::move(bytes); }
    const std::string& Get(const std::string& path) const { return files_.at(path); }
    std::size_t Count() const { return files_.size(); }

    std::unique_ptr<common::ByteSource> OpenSource(const std::filesystem::path& path,
                                                   std::error_code& error) const override {
        auto it = files_.find(path.string());
        if (it == files_.end()) {
            error = std::make_error_code(std::errc::no_such_file_or_directory);
            return nullptr;
        }
        return std::make_unique<Source>(it->second, readChunk, readableBytes);
    }
    std::unique_ptr<common::ByteSink> CreateNew(const std::filesystem::path& path,
                                                std::error_code& error) const override {
        FUZZ_CHECK(sources_.count(path.string()) == 0, "a source is never opened for writing");
        if (Exists(path.string())) {
            error = std::make_error_code(std::errc::file_exists);
            return nullptr;
        }
        std::string& bytes = files_[path.string()];
        ++openTargets;
        return std::make_unique<Sink>(bytes, writableBytes, openTargets);
    }
    bool RenameNew(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error) const override {
        FUZZ_CHECK(sources_.count(to.string()) == 0, "a source is never replaced");
        if (Exists(to.string()) || !Exists(from.string())) {
            error =
                std::make_error_code(Exists(to.string()) ? std::errc::file_exists
                                                         : std::errc::no_such_file_or_directory);
            return false;
        }
        auto node = files_.extract(from.string());
        node.key() = to.string();
        files_.insert(std::move(node));
        return true;
    }
    bool Exists(const std::filesystem::path& path) const override {
        return files_.count(path.string()) != 0;
    }
    std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path) const override {
        auto it = files_.find(path.string());
        if (it == files_.end()) return std::nullopt;
        return it->second.size();
    }
    std::optional<std::uintmax_t> FreeSpace(const std::filesystem::path&) const override {
        return std::uintmax_t{1} << 40;
    }
    bool Remove(const std::filesystem::path& path) const override {
        FUZZ_CHECK(sources_.count(path.string()) == 0, "a source is never removed");
        return files_.erase(path.string()) != 0;
    }
    bool CreateFolder(const std::filesystem::path&, std::error_code&) const override {
        return true;
    }
    bool RemoveEmptyFolder(const std::filesystem::path&) const override { return false; }

    // Marks a file as a source: writing or removing it ends the fuzzer.
    void ProtectSource(const std::string& path) { sources_[path] = true; }

  private:
    class Source final : public common::ByteSource {
      public:
        Source(const std::string& bytes, std::size_t chunk, std::optional<std::size_t> readable)
            : bytes_(bytes), chunk_(std::max<std::size_t>(chunk, 1)), readable_(readable) {}
        std::ptrdiff_t Read(char* buffer, std::size_t size) override {
            std::size_t count = std::min({size, chunk_, bytes_.size() - at_});
            if (readable_ && count > 0) {
                if (at_ >= *readable_) return -1;
                count = std::min(count, *readable_ - at_);
            }
            std::memcpy(buffer, bytes_.data() + at_, count);
            at_ += count;
            return static_cast<std::ptrdiff_t>(count);
        }

      private:
        const std::string& bytes_;
        std::size_t chunk_;
        std::optional<std::size_t> readable_;
        std::size_t at_ = 0;
    };

    class Sink final : public common::ByteSink {
      public:
        Sink(std::string& bytes, std::optional<std::size_t> writable, int& open)
            : bytes_(bytes), left_(writable), open_(open) {}
        ~Sink() override {
            if (!closed_) --open_;
        }
        bool Write(const char* data, std::size_t size) override {
            FUZZ_CHECK(!closed_, "no write after close");
            const std::size_t fits = left_ ? std::min(size, *left_) : size;
            bytes_.append(data, fits);
            if (left_) *left_ -= fits;
            return fits == size;
        }
        bool Close() override {
            FUZZ_CHECK(!closed_, "closed once");
            closed_ = true;
            --open_;
            return true;
        }

      private:
        std::string& bytes_;
        std::optional<std::size_t> left_;
        int& open_;
        bool closed_ = false;
    };

    mutable std::map<std::string, std::string> files_;
    std::map<std::string, bool> sources_;
};

}  // namespace fuzz
