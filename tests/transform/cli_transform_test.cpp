// "transform" end to end: the real tools on point lists of a few thousand points, against the same
// steps piped through both tools and against PROJ's cs2cs.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../common/test_folder.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/state.hpp"

namespace {

using testfiles::ReadBytes;
using testfiles::WriteBytes;

constexpr const char* kGridwise = GRIDWISE_CLI;
constexpr const char* kDatumer = DATUMER_CLI;

using testfiles::ShellQuoted;
using testfiles::ShellRun;

class Transform : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;
    testfiles::TempFolder outputs;

    // Runs a shell command line with `input` on stdin.
    ShellRun Shell(const std::string& command, const std::string& input = "") {
        return testfiles::RunShell(command, input, outputs.path());
    }
    ShellRun Tool(const char* tool, const std::string& args, const std::string& input = "") {
        return Shell(ShellQuoted(tool) + " " + args, input);
    }
};

// Geodetic points over Russia inside Gauss-Krueger zones `firstZone`..`lastZone`, with names,
// heights and, on every third line, a tail.
std::string GeodeticList(int count, int firstZone, int lastZone, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> latitude(42.0, 70.0), offset(-2.9, 2.9),
        height(-50.0, 3000.0);
    std::uniform_int_distribution<int> zone(firstZone, lastZone);
    std::ostringstream list;
    list.precision(12);
    for (int i = 1; i <= count; ++i) {
        list << "p" << i << ',' << latitude(random) << ','
             << 6.0 * zone(random) - 3.0 + offset(random) << ',' << height(random)
             << (i % 3 == 0 ? ",code 7,x" : "") << "\r\n";
    }
    return list.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    return fields;
}

TEST_F(Transform, OneStepEqualsTheTwoStepPipeForEveryPair) {
    const std::string G = ShellQuoted(kGridwise), D = ShellQuoted(kDatumer);
    const std::string geo = GeodeticList(3000, 4, 13, 42);
    // The plane inputs of each system, made by the tools from the geodetic list.
    const auto plane = [&](const std::string& settings) {
        const ShellRun run = Shell(G + " convert --format txt " + settings + " -", geo);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    };
    const std::string sk42Gk = plane("");
    const std::string sk42Gk7 = plane("--no-zone-number --zone current");
    const std::string wgs84Utm = plane("--projection utm --system wgs84");
    const std::string toGeo = G + " convert --format txt --direction to-geo --height-decimals 4";
    const std::string datum = D + " convert --format txt --height-decimals 4";
    struct Pair {
        std::string transform;  // the arguments of "transform"
        std::string input;
        std::string pipe;  // the same steps, one tool after another
    };
    const std::vector<Pair> pairs = {
        {"--from sk42/gk --to wgs84", sk42Gk,
         toGeo + " - | " + D + " convert --format txt --preset 1 -"},
        {"--from sk42/gk --to wgs84/utm", sk42Gk,
         toGeo + " - | " + datum + " --preset 1 - | " + G +
             " convert --format txt --projection utm --system wgs84 -"},
        {"--from wgs84/utm --to sk42/gk --series 4 --plane-decimals 2", wgs84Utm,
         toGeo + " --projection utm --system wgs84 --series 4 - | " + datum + " --preset 2 - | " +
             G + " convert --format txt --series 4 --plane-decimals 2 -"},
        {"--from wgs84 --to sk42/gk", geo,
         datum + " --preset 2 - | " + G + " convert --format txt -"},
        {"--from sk42/gk --to pz90.11/gk --heights ellipsoidal", sk42Gk,
         toGeo + " - | " + datum + " --preset 20 --heights ellipsoidal - | " + G +
             " convert --format txt --system pz90 -"},
        {"--from sk95/gk --to gsk2011 --angle-decimals 8 --height-decimals 2", sk42Gk,
         toGeo + " - | " + D + " convert --format txt --preset 32 --angle-decimals 8 " +
             "--height-decimals 2 -"},
        {"--from sk42/gk --to sk42/utm", sk42Gk,
         toGeo + " - | " + G + " convert --format txt --projection utm -"},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.transform);
        for (const char* tool : {kGridwise, kDatumer}) {
            const ShellRun one = Tool(tool, "transform " + pair.transform + " -", pair.input);
            const ShellRun two = Shell(pair.pipe, pair.input);
            ASSERT_EQ(one.exitCode, 0) << one.err;
            ASSERT_EQ(two.exitCode, 0) << two.err;
            EXPECT_EQ(Lines(one.out).size(), 3000u);
            EXPECT_TRUE(one.out == two.out);  // not EXPECT_EQ: 3000 lines of difference help no one
            if (one.out != two.out) {
                const auto a = Lines(one.out), b = Lines(two.out);
                for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
                    if (a[i] != b[i]) {
                        ADD_FAILURE() << "line " << i + 1 << ": " << a[i] << " / " << b[i];
                        break;
                    }
            }
        }
    }
}

TEST_F(Transform, EveryPresetPairMatchesThePipeFromGaussKruegerToUtm) {
    struct System {
        std::string_view presetName;
        std::string key;
        std::string gridwise;  // gridwise-cli's settings for the same ellipsoid
    };
    const System systems[] = {
        {"СК42", "sk42", "--system sk42"},
        {"СК95", "sk95", "--system sk42"},
        {"ПЗ90.01", "pz90", "--system pz90"},
        {"ПЗ90.02", "pz90.02", "--system pz90"},
        {"ПЗ90.11", "pz90.11", "--system pz90"},
        {"WGS84", "wgs84", "--system wgs84"},
        {"ГСК-2011", "gsk2011", "--system user --a 6378136.5 --inv-f 298.2564151"},
    };
    const auto find = [&](std::string_view name) -> const System& {
        for (const System& system : systems)
            if (system.presetName == name) return system;
        ADD_FAILURE() << "no system " << name;
        return systems[0];
    };
    const std::string G = ShellQuoted(kGridwise), D = ShellQuoted(kDatumer);
    const std::string geo = GeodeticList(1000, 5, 12, 2011);
    const datumer::DatumerState datums = datumer::MakeDatumerState();
    for (int preset = 1; preset <= datumer::kPresetCount; ++preset) {
        if (preset == datumer::kUserPreset) continue;
        const datumer::TCHSK& record = datumer::PresetAt(datums, preset);
        const System& from = find(record.SourceName);
        const System& to = find(record.TargetName);
        SCOPED_TRACE(std::to_string(preset) + ": " + from.key + " => " + to.key);
        const ShellRun input = Shell(G + " convert --format txt " + from.gridwise + " -", geo);
        ASSERT_EQ(input.exitCode, 0) << input.err;
        const ShellRun one = Tool(kGridwise,
                                  "transform --preset " + std::to_string(preset) + " --from " +
                                      from.key + "/gk --to " + to.key + "/utm -",
                                  input.out);
        const ShellRun two =
            Shell(G + " convert --format txt --direction to-geo --height-decimals 4 " +
                      from.gridwise + " - | " + D + " convert --format txt --preset " +
                      std::to_string(preset) + " --height-decimals 4 - | " + G +
                      " convert --format txt --projection utm " + to.gridwise + " -",
                  input.out);
        ASSERT_EQ(one.exitCode, 0) << one.err;
        ASSERT_EQ(two.exitCode, 0) << two.err;
        EXPECT_EQ(Lines(one.out).size(), 1000u);
        EXPECT_TRUE(one.out == two.out);
        // Without --preset the pair chooses this preset: no two presets share a pair.
        const ShellRun chosen = Tool(
            kDatumer, "transform --from " + from.key + "/gk --to " + to.key + "/utm -", input.out);
        ASSERT_EQ(chosen.exitCode, 0) << chosen.err;
        EXPECT_TRUE(chosen.out == one.out);
    }
}

TEST_F(Transform, ZoneWithoutNumberMatchesTheZonesOwnMeridian) {
    // Ordinates of zone 7 without the zone number: the pipe reads them with the SK63 system set
    // to the zone's meridian and false easting, which is what gk:7 means.
    const std::string G = ShellQuoted(kGridwise), D = ShellQuoted(kDatumer);
    const std::string geo = GeodeticList(2000, 7, 7, 7);
    const ShellRun input = Shell(G + " convert --format txt --no-zone-number -", geo);
    ASSERT_EQ(input.exitCode, 0) << input.err;
    const ShellRun one = Tool(kGridwise, "transform --from sk42/gk:7 --to wgs84 -", input.out);
    const ShellRun two =
        Shell(G +
                  " convert --format txt --direction to-geo --system sk63 "
                  "--meridian 39E --false-easting 500000 --height-decimals 4 - | " +
                  D + " convert --format txt -",
              input.out);
    ASSERT_EQ(one.exitCode, 0) << one.err;
    ASSERT_EQ(two.exitCode, 0) << two.err;
    EXPECT_TRUE(one.out == two.out);
    // And back into zone 7 without its number gives the input again, to the millimetre.
    const ShellRun back = Tool(kDatumer, "transform --from wgs84 --to sk42/gk:7 -", one.out);
    ASSERT_EQ(back.exitCode, 0) << back.err;
    const auto before = Lines(input.out), after = Lines(back.out);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        const auto a = Fields(before[i]), b = Fields(after[i]);
        ASSERT_EQ(a.size(), b.size()) << before[i] << " / " << after[i];
        EXPECT_NEAR(std::stod(a[1]), std::stod(b[1]), 0.0015) << before[i] << " / " << after[i];
        EXPECT_NEAR(std::stod(a[2]), std::stod(b[2]), 0.0015) << before[i] << " / " << after[i];
        EXPECT_EQ(a[0], b[0]);
    }
}

TEST_F(Transform, AgreesWithCs2csForSk42Zone7ToWgs84WithinAMillimetre) {
    // EPSG:28407 (СК42, Gauss-Krueger zone 7) with the Helmert set of preset 1 given explicitly:
    // +towgs84 takes the position-vector signs, so the three rotations are negated.
    const std::string sk42Zone7 =
        "+proj=tmerc +lat_0=0 +lon_0=39 +k=1 +x_0=7500000 +y_0=0 +ellps=krass "
        "+towgs84=23.92,-141.27,-80.9,0,0.35,0.82,-0.12 +units=m +no_defs +type=crs";
    const std::string wgs84 = "+proj=longlat +datum=WGS84 +no_defs +type=crs";
    const std::string geo = GeodeticList(2000, 7, 7, 28407);
    const ShellRun input =
        Shell(ShellQuoted(kGridwise) + " convert --format txt --plane-decimals 4 -", geo);
    ASSERT_EQ(input.exitCode, 0) << input.err;
    const auto lines = Lines(input.out);
    std::string projInput;
    for (const std::string& line : lines) {
        const auto f = Fields(line);
        projInput += f[2] + " " + f[1] + " " + f[3] + "\n";  // easting, northing, height
    }
    const ShellRun proj =
        Shell("cs2cs -f %.12f " + ShellQuoted(sk42Zone7) + " " + ShellQuoted(wgs84), projInput);
    ASSERT_EQ(proj.exitCode, 0) << "cs2cs (PROJ) is needed by this test: " << proj.err;
    const auto expected = Lines(proj.out);
    ASSERT_EQ(expected.size(), lines.size());
    for (const char* series : {"3", "4"}) {
        SCOPED_TRACE(std::string("series ") + series);
        const ShellRun ours = Tool(kGridwise,
                                   std::string("transform --from sk42/gk --to wgs84 --heights "
                                               "ellipsoidal --height-decimals 4 --series ") +
                                       series + " -",
                                   input.out);
        ASSERT_EQ(ours.exitCode, 0) << ours.err;
        const auto results = Lines(ours.out);
        ASSERT_EQ(results.size(), lines.size());
        double worst = 0.0;
        for (std::size_t i = 0; i < results.size(); ++i) {
            const auto f = Fields(results[i]);
            std::istringstream p(expected[i]);
            double lon = 0, lat = 0, h = 0;
            p >> lon >> lat >> h;
            const double metresPerDegree = 111320.0;
            const double north = (std::stod(f[1]) - lat) * metresPerDegree;
            const double east =
                (std::stod(f[2]) - lon) * metresPerDegree * std::cos(lat * M_PI / 180.0);
            worst = std::max(
                {worst, std::fabs(north), std::fabs(east), std::fabs(std::stod(f[3]) - h)});
        }
        EXPECT_LT(worst, 0.001);
    }
}

TEST_F(Transform, FilesGoToRecalcWithTheLogAndBadLinesStopAFile) {
    WriteBytes(folder / "a.txt", "1,6099167.2394,7372018.4912,150.0,code\r\n");
    WriteBytes(folder / "b.txt",
               "1,6099167.2394,7372018.4912,150.0\r\n2,6099167.2394,500000,0\r\n");
    const ShellRun run = Tool(kGridwise, "transform --from sk42/gk --to wgs84 --no-progress " +
                                             ShellQuoted((folder / "a.txt").string()) + " " +
                                             ShellQuoted((folder / "b.txt").string()));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(ReadBytes(folder / "RECALC" / "a.txt"),
              "1,55.0000135917,36.9981568528,150.000,code\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "RECALC" / "b.txt"));
    EXPECT_NE(run.out.find("Ошибка в строке 2"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Пересчёт СК42 x, y (Гаусса-Крюгера) => WGS84 B, L (вариант 1)"),
              std::string::npos)
        << run.out;
}

TEST_F(Transform, OnePointAsArgumentsIsTheLineOfAList) {
    struct Row {
        std::string systems;
        std::string values;    // --point arguments
        std::string listLine;  // the same point in a list
    };
    const Row rows[] = {
        {"--from sk42/gk --to wgs84", "6099167.2394 7372018.4912 150",
         "p,6099167.2394,7372018.4912,150"},
        {"--from sk42/gk --to wgs84/utm", "6099167,2394 7372018,4912",
         "p,6099167.2394,7372018.4912,0"},
        {"--from wgs84 --to sk42/gk", "\"55°45'20.5\\\"N\" \"37 37 06 E\" 10",
         "p,55.755694444444,37.618333333333,10"},
        {"--from wgs84 --to sk42/gk:7", "55d45m20.5s 37:37:06E",
         "p,55.755694444444,37.618333333333,0"},
        {"--from wgs84 --to pz90.11", "-33.5 18.4 -20", "p,-33.5,18.4,-20"},
        {"--from wgs84 --to pz90.11", "33,5S 18,4W", "p,-33.5,-18.4,0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.values);
        const ShellRun point =
            Tool(kGridwise, "transform " + row.systems + " --point " + row.values);
        const ShellRun list =
            Tool(kDatumer, "transform " + row.systems + " -", row.listLine + "\r\n");
        ASSERT_EQ(point.exitCode, 0) << point.err;
        ASSERT_EQ(list.exitCode, 0) << list.err;
        EXPECT_EQ(point.out, list.out.substr(2, list.out.size() - 4) + "\n");
    }
    const std::vector<std::pair<std::string, std::string>> refusals = {
        {"--point 55", "Нужны два или три значения: B L [H]"},
        {"--point 95 37", "Ошибка расчёта: широта 95 вне диапазона -90..90"},
        {"--point 55:61 37", "Недопустимое значение: \"55:61\""},
        {"--point 55 37 high", "Недопустимое значение: \"high\""},
    };
    for (const auto& [args, message] : refusals) {
        SCOPED_TRACE(args);
        const ShellRun run = Tool(kGridwise, "transform --from wgs84 --to sk42/gk " + args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, message + "\n");
    }
}

TEST_F(Transform, RefusesWhatItCannotConvertWithExitTwo) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--to wgs84 -", "Не указана исходная система (--from)"},
        {"--from sk42/gk -", "Не указана целевая система (--to)"},
        {"--from sk43 --to wgs84 -", "Недопустимое значение параметра --from: sk43"},
        {"--from sk42/gk:61 --to wgs84 -", "Недопустимое значение параметра --from: sk42/gk:61"},
        {"--from sk42/geo:7 --to wgs84 -", "Недопустимое значение параметра --from: sk42/geo:7"},
        {"--from user --to wgs84 -", "Для системы user нужен вариант преобразования (--preset)"},
        {"--from sk42 --to wgs84 --preset 2 -",
         "Вариант 2 пересчитывает WGS84 => СК42, а не СК42 => WGS84"},
        {"--from pz90 --to gsk2011 -", "Нет варианта преобразования ПЗ90.01 => ГСК-2011"},
        {"--from wgs84 --to wgs84 -", "Системы совпадают: пересчитывать нечего"},
        {"--from wgs84/sk63 --to sk42 -", "Зоны СК63 есть только у систем sk42 и sk95"},
        {"--from sk42/gk --to wgs84 --meridian 39E -", "относятся только к виду sk63"},
        {"--from sk42/gk --to wgs84 --heights orthometric -",
         "Недопустимое значение параметра --heights: orthometric"},
        {"--from sk42/gk --to wgs84", "Не указаны файлы"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(args);
        const ShellRun run = Tool(kGridwise, "transform " + args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
}

TEST_F(Transform, UserPresetAndSk63Sides) {
    // The user preset with its default values is preset 1; SK63 needs its meridian.
    const std::string line = "1,6099167.2394,7372018.4912,150.0\r\n";
    const ShellRun preset1 = Tool(kGridwise, "transform --from sk42/gk --to wgs84 -", line);
    const ShellRun user = Tool(kGridwise, "transform --from user/gk --to user --preset 13 -", line);
    ASSERT_EQ(user.exitCode, 0) << user.err;
    EXPECT_EQ(user.out, preset1.out);
    const ShellRun sk63 =
        Tool(kDatumer, "transform --from wgs84 --to sk42/sk63 --meridian 37:30E --sk63-zone 3 -",
             preset1.out);
    ASSERT_EQ(sk63.exitCode, 0) << sk63.err;
    const auto f = Fields(Lines(sk63.out).at(0));
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[2].substr(0, 1), "3");  // the SK63 zone in front of the ordinate
    // Gridwise's point lists carry SK63 ordinates without the zone number.
    const std::string unnumbered = f[0] + "," + f[1] + "," + f[2].substr(1) + "," + f[3] + "\r\n";
    const ShellRun back =
        Tool(kDatumer, "transform --from sk42/sk63 --meridian 37:30E --to sk42/gk -", unnumbered);
    ASSERT_EQ(back.exitCode, 0) << back.err;
    const auto g = Fields(Lines(back.out).at(0));
    EXPECT_NEAR(std::stod(g[1]), 6099167.2394, 0.002);
    EXPECT_NEAR(std::stod(g[2]), 7372018.4912, 0.002);
}

}  // namespace
