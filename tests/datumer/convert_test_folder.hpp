#pragma once
// The file-test helpers of the shared file layer (a fresh folder per test, byte-exact reads and
// writes), and the job of one converter call.

#include <filesystem>

#include "../common/test_folder.hpp"
#include "common/converter.hpp"

namespace datumer::testing {

using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

// A converter never replaces a file, so the target of an earlier call in the same test goes.
inline common::ConvertJob Job(const std::filesystem::path& source,
                              const std::filesystem::path& target) {
    std::filesystem::remove(target);
    common::ConvertJob job;
    job.Source = source;
    job.Target = target;
    return job;
}

}  // namespace datumer::testing
