// The encoding of the text gridwise-cli composes into files (sheet names): windows-1251 by
// default, UTF-8 by --encoding or by the byte-order mark of a source; names pass as bytes.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "../common/test_folder.hpp"
#include "common/cp1251.hpp"

namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

class Encoding : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;

    // Runs a shell command in the folder; its exit code.
    int Shell(const std::string& command) {
        return WEXITSTATUS(std::system(
            ("cd '" + folder.path().string() + "' && " + command + " 2>/dev/null").c_str()));
    }
    std::string Gridwise(const std::string& args) {
        return "'" + std::string(GRIDWISE_CLI) + "' " + args;
    }
};

TEST_F(Encoding, SheetNamesFollowTheChosenEncodingOrTheSourcesMark) {
    // Point names in UTF-8; 55.61, 37.43 lies in N-37-015-Б-б-3, whose letters are Cyrillic.
    const std::string utf8List = "Точка 1,55.61,37.43,0\r\nМост,55.61,37.43,0\r\n";
    WriteBytes(folder / "utf8.txt", utf8List);
    WriteBytes(folder / "bom.txt", std::string(common::kByteOrderMark) + utf8List);
    WriteBytes(folder / "cp1251.txt", common::Utf8ToCp1251(utf8List));
    struct Row {
        std::string source;
        std::string options;
        bool validUtf8;    // iconv -f utf-8 accepts the result
        bool validCp1251;  // the result decoded from windows-1251 gives the names back
    };
    const Row rows[] = {
        {"utf8.txt", "", false, false},  // UTF-8 names, windows-1251 letters: the old mix
        {"utf8.txt", "--encoding utf-8", true, false},
        {"bom.txt", "", true, false},  // the mark chooses UTF-8 without a flag
        {"bom.txt", "--encoding cp1251", true, false},
        {"cp1251.txt", "", false, true},
        {"cp1251.txt", "--encoding cp1251", false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source + " " + row.options);
        ASSERT_EQ(Shell(Gridwise("convert --format sheets --scale 10000 " + row.options + " - <" +
                                 row.source + " >out.txt")),
                  0);
        EXPECT_EQ(Shell("iconv -f utf-8 -t utf-8 out.txt >/dev/null") == 0, row.validUtf8);
        const std::string out = ReadBytes(folder / "out.txt");
        if (row.validUtf8) {
            EXPECT_NE(out.find("Мост,N-37-015-Б-б-3\r\n"), std::string::npos) << out;
        }
        if (row.validCp1251) {
            EXPECT_EQ(common::Cp1251ToUtf8(out),
                      "Точка 1,N-37-015-Б-б-3\r\nМост,N-37-015-Б-б-3\r\n");
        }
    }
    // The mark stays in front of the first name; in a batch each file is judged on its own.
    ASSERT_EQ(Shell(Gridwise("convert --format sheets --scale 10000 --no-progress bom.txt "
                             "cp1251.txt >/dev/null")),
              0);
    EXPECT_EQ(ReadBytes(folder / "RECALC" / "bom.txt").rfind(common::kByteOrderMark, 0), 0u);
    EXPECT_EQ(Shell("iconv -f utf-8 -t utf-8 RECALC/bom.txt >/dev/null"), 0);
    EXPECT_EQ(common::Cp1251ToUtf8(ReadBytes(folder / "RECALC" / "cp1251.txt")),
              "Точка 1,N-37-015-Б-б-3\r\nМост,N-37-015-Б-б-3\r\n");
}

TEST_F(Encoding, OnlyTheTwoEncodings) {
    EXPECT_EQ(Shell(Gridwise("convert --format sheets --encoding koi8-r - </dev/null")), 2);
    EXPECT_EQ(Shell(Gridwise("convert --format sheets --encoding utf-8 --encoding utf-8 - "
                             "</dev/null")),
              2);
}

}  // namespace
