// Reasons of file failures, paths as text and the temporary names of targets.

#include "common/file_access.hpp"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "common/text.hpp"

namespace common {

// Names and causes

namespace {

class FileErrorCategory final : public std::error_category {
  public:
    const char* name() const noexcept override { return "files"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
            case FileError::NotRegularFile:
                return "не обычный файл (каталог, устройство или канал)";
            case FileError::SourceChanged:
                return "файл изменился во время чтения";
            case FileError::NoFreeName:
                return "нет свободного временного имени";
        }
        return "ошибка " + std::to_string(value);
    }
};

// Longest part of a target's name kept in its temporary name: with the dot and ".part-XXXXXX"
// it stays well under the 255 bytes a name may have.
constexpr std::size_t kTemporaryNameStem = 200;
constexpr std::size_t kTagCharacters = 6;

}  // namespace

std::error_code MakeError(FileError error) {
    static const FileErrorCategory category;
    return {static_cast<int>(error), category};
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string FileCause(const std::filesystem::path& path, std::error_code error) {
    std::string cause = PathText(path);
    if (error) cause += ": " + error.message();
    return cause;
}

std::filesystem::path TemporaryTargetName(const std::filesystem::path& target, std::uint32_t tag) {
    std::string stem = PathText(target.filename());
    if (stem.size() > kTemporaryNameStem) {
        std::size_t cut = kTemporaryNameStem;
        // Not inside a UTF-8 sequence: its continuation bytes are 10xxxxxx.
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem.resize(cut);
    }
    std::string name = "." + stem + ".part-";
    constexpr std::string_view digits = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (std::size_t i = 0; i < kTagCharacters; ++i) {
        name += digits[tag % digits.size()];
        tag /= static_cast<std::uint32_t>(digits.size());
    }
    const std::u8string utf8(name.begin(), name.end());
    return target.parent_path() / std::filesystem::path(utf8);
}

}  // namespace common
