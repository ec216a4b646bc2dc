// The arguments of both tools alike: a repeated option, "-h", unknown short options, what --help
// tells, and the JSON keys both point commands share.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../common/test_folder.hpp"

namespace {

using ToolRun = testfiles::ShellRun;

ToolRun Tool(const char* tool, const std::string& args) {
    testfiles::TempFolder scratch;
    return testfiles::RunShell(testfiles::ShellQuoted(tool) + " " + args, "", scratch.path());
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Arguments, RepeatedAndUnknownOptionsAreErrors) {
    struct Row {
        const char* tool;
        std::string args;
        std::string message;
    };
    const Row rows[] = {
        {GRIDWISE_CLI, "convert --format txt --format sheets -", "--format указан дважды"},
        {GRIDWISE_CLI, "convert --format txt --series 3 --series=4 -", "--series указан дважды"},
        {GRIDWISE_CLI, "point --system sk42 --system wgs84 55 37", "--system указан дважды"},
        {GRIDWISE_CLI, "convert --format txt -x a.txt", "Неизвестный параметр: -x"},
        {GRIDWISE_CLI, "point -q 55 37", "Неизвестный флаг: -q"},
        {DATUMER_CLI, "convert --format txt --heights normal --heights normal -",
         "--heights указан дважды"},
        {DATUMER_CLI, "point --preset 1 --preset 2 55 37 0", "--preset указан дважды"},
        {DATUMER_CLI, "convert --preset 13 --dx 1 --dx 2 --format txt -", "--dx указан дважды"},
        {DATUMER_CLI, "convert --format mif -v a.mif", "Неизвестный параметр: -v"},
        {DATUMER_CLI, "transform --from sk42 --to wgs84 --to wgs84 -", "--to указан дважды"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const ToolRun run = Tool(row.tool, row.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(Has(run.err, row.message)) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

TEST(Arguments, HelpOfEveryCommandTellsWhereResultsGoTheExitCodesAndAnExample) {
    struct Row {
        const char* tool;
        std::string command;
        std::vector<std::string> parts;
    };
    const std::vector<std::string> files = {"RECALC",          "stdout",   "stderr",
                                            "Коды завершения", "Примеры:", "130, 143, 141"};
    const std::vector<std::string> point = {"stdout", "stderr", "Коды завершения", "Примеры:"};
    const Row rows[] = {
        {GRIDWISE_CLI, "convert", files},   {DATUMER_CLI, "convert", files},
        {GRIDWISE_CLI, "transform", files}, {DATUMER_CLI, "transform", files},
        {GRIDWISE_CLI, "point", point},     {DATUMER_CLI, "point", point},
        {DATUMER_CLI, "presets", point},
    };
    for (const Row& row : rows) {
        for (const char* help : {"--help", "-h"}) {
            SCOPED_TRACE(row.command + " " + help);
            const ToolRun run = Tool(row.tool, row.command + " " + help);
            EXPECT_EQ(run.exitCode, 0) << run.err;
            for (const std::string& part : row.parts) EXPECT_TRUE(Has(run.out, part)) << part;
        }
    }
}

// The value of a key of a flat JSON object, as text up to the next ", \"" or the end.
std::string JsonValue(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\": ");
    if (at == std::string::npos) return "(missing)";
    const std::size_t begin = at + key.size() + 4;
    const char open = json[begin];
    const char close = open == '[' ? ']' : open == '{' ? '}' : ',';
    const std::size_t end = json.find(close, begin);
    return json.substr(begin, end - begin + (close == ',' ? 0 : 1));
}

TEST(Arguments, BothPointCommandsShareTheirJsonKeys) {
    // The same WGS84 point: Gridwise on WGS84, Datumer with a set that leaves it (almost) in place.
    const ToolRun grid = Tool(GRIDWISE_CLI, "point --json --system wgs84 55.61 37.43");
    const ToolRun datum = Tool(DATUMER_CLI, "point --json --preset 19 55.61 37.43 0");
    ASSERT_EQ(grid.exitCode, 0) << grid.err;
    ASSERT_EQ(datum.exitCode, 0) << datum.err;
    for (const ToolRun* run : {&grid, &datum}) {
        EXPECT_EQ(JsonValue(run->out, "ok"), "true");
        EXPECT_NEAR(std::stod(JsonValue(run->out, "B")), 55.61, 1e-4);
        EXPECT_NEAR(std::stod(JsonValue(run->out, "L")), 37.43, 1e-4);
        const std::string names = JsonValue(run->out, "sheets");
        for (const char* scale :
             {"\"1:1000000\": \"N-37\"", "\"1:500000\": ", "\"1:200000\": ", "\"1:100000\": ",
              "\"1:50000\": ", "\"1:25000\": ", "\"1:10000\": \"N-37-"})
            EXPECT_TRUE(Has(names, scale)) << scale << " in " << names;
        EXPECT_EQ(std::count(names.begin(), names.end(), ','), 6) << names;
    }
    EXPECT_EQ(JsonValue(grid.out, "sheets"), JsonValue(datum.out, "sheets"));
    // A point whose zone is unknown has no sheets.
    const ToolRun unknown =
        Tool(GRIDWISE_CLI, "point --json --direction to-geo --no-zone-number 6099167 372018");
    EXPECT_EQ(JsonValue(unknown.out, "sheets"), "{}");
}

}  // namespace
