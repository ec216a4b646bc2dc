#pragma once
// A fresh folder per test for the converter and command-line tests, with byte-exact file reading
// and writing.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "common/pointfile.hpp"

namespace datumer::testing {

class TestFolder {
  public:
    TestFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("datumer-" + std::string(info->name()) + "-" + std::to_string(random()));
        for (char& c : name_ = path_.filename().string()) {
            if (c == '/') c = '_';
        }
        path_ = path_.parent_path() / name_;
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    std::filesystem::path Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

  private:
    std::filesystem::path path_;
    std::string name_;
};

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline common::ConvertJob Job(const std::filesystem::path& source,
                              const std::filesystem::path& target) {
    common::ConvertJob job;
    job.Source = source;
    job.Target = target;
    return job;
}

}  // namespace datumer::testing
