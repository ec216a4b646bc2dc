// --output of every convert command: results into a folder of the user's choosing, created when
// missing, shared by runs of different formats, and never over an existing file.

#include <gtest/gtest.h>

#include <string>

#include "../common/test_folder.hpp"

namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

using ToolRun = testfiles::ShellRun;

class Output : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;
    testfiles::TempFolder outputs;

    ToolRun Tool(const char* tool, const std::string& args) {
        return testfiles::RunShell(testfiles::ShellQuoted(tool) + " " + args, "", outputs.path(),
                                   folder.path());
    }
};

TEST_F(Output, ANewFolderThenTheSameFolderForAnotherFormat) {
    WriteBytes(folder / "a.mif", "Point 37.5 55.5\n");
    WriteBytes(folder / "b.mp", "[POLYLINE]\nData0=(55.75,37.6166667),(55.8,37.5)\n[END]\n");
    const ToolRun mif = Tool(DATUMER_CLI, "convert --format mif --output wgs a.mif");
    ASSERT_EQ(mif.exitCode, 0) << mif.err;
    // The same folder takes the MP files of the same source folder next: no RECALC to delete.
    const ToolRun mp = Tool(DATUMER_CLI, "convert --format mp --output wgs b.mp");
    ASSERT_EQ(mp.exitCode, 0) << mp.err;
    EXPECT_TRUE(std::filesystem::exists(folder / "wgs" / "a.mif"));
    EXPECT_TRUE(std::filesystem::exists(folder / "wgs" / "b.mp"));
    EXPECT_FALSE(std::filesystem::exists(folder / "RECALC"));
    EXPECT_NE(mp.out.find("Создано           : 1 файлов"), std::string::npos) << mp.out;
    // The same result as into RECALC.
    ASSERT_EQ(Tool(DATUMER_CLI, "convert --format mp b.mp").exitCode, 0);
    EXPECT_EQ(ReadBytes(folder / "wgs" / "b.mp"), ReadBytes(folder / "RECALC" / "b.mp"));
}

TEST_F(Output, AnExistingFileIsNeverReplaced) {
    WriteBytes(folder / "p.txt", "1,55,37,10\r\n");
    WriteBytes(folder / "q.txt", "1,56,38,10\r\n");
    std::filesystem::create_directory(folder / "out");
    WriteBytes(folder / "out" / "q.txt", "earlier result\r\n");
    for (const char* tool : {GRIDWISE_CLI, DATUMER_CLI}) {
        SCOPED_TRACE(tool);
        const ToolRun run = Tool(tool, "convert --format txt --output out p.txt q.txt");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("Файл уже существует, пересчёт не начат: out/q.txt"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(ReadBytes(folder / "out" / "q.txt"), "earlier result\r\n");
        EXPECT_FALSE(std::filesystem::exists(folder / "out" / "p.txt"));  // nothing was started
    }
    const ToolRun transform =
        Tool(GRIDWISE_CLI, "transform --from sk42 --to wgs84 --output out p.txt q.txt");
    EXPECT_EQ(transform.exitCode, 1);
    EXPECT_EQ(ReadBytes(folder / "out" / "q.txt"), "earlier result\r\n");
    // Into a folder that holds other files only, the run goes ahead.
    const ToolRun alone = Tool(GRIDWISE_CLI, "transform --from sk42 --to wgs84 --output out p.txt");
    EXPECT_EQ(alone.exitCode, 0) << alone.err;
    ASSERT_EQ(Tool(DATUMER_CLI, "convert --format txt p.txt").exitCode, 0);
    EXPECT_EQ(ReadBytes(folder / "out" / "p.txt"), ReadBytes(folder / "RECALC" / "p.txt"));
}

TEST_F(Output, WhatCannotBeAnOutputFolder) {
    WriteBytes(folder / "p.txt", "1,55,37,10\r\n");
    WriteBytes(folder / "file", "");
    const ToolRun file = Tool(GRIDWISE_CLI, "convert --format txt --output file p.txt");
    EXPECT_EQ(file.exitCode, 1);
    EXPECT_NE(file.out.find("Невозможно создать каталог результатов !\nПересчёт отменён."),
              std::string::npos)
        << file.out;
    EXPECT_NE(file.err.find("Невозможно создать каталог результатов ! ("), std::string::npos)
        << file.err;
    const ToolRun stream = Tool(DATUMER_CLI, "convert --format txt --output out -");
    EXPECT_EQ(stream.exitCode, 2);
    EXPECT_NE(stream.err.find("Параметр --output не сочетается с \"-\""), std::string::npos);
    const ToolRun twice = Tool(GRIDWISE_CLI, "convert --format txt --output a --output b p.txt");
    EXPECT_EQ(twice.exitCode, 2);
    // A folder the run created and left empty is removed again, as RECALC is.
    WriteBytes(folder / "bad.txt", "1,95,37,0\r\n");
    const ToolRun bad = Tool(GRIDWISE_CLI, "convert --format txt --output fresh bad.txt");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "fresh"));
}

}  // namespace
