#include <gtest/gtest.h>

#include <string>

#include "common/text.hpp"
#include "convert_test_folder.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/geodesy/presets.hpp"
#include "datumer/state.hpp"

namespace datumer {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class PointListDatum : public ::testing::Test {
  protected:
    common::ConvertResult Convert(const std::string& source, PointListOptions options) {
        WriteBytes(folder_ / "points.txt", source);
        return ConvertPointListDatum(testing::Job(folder_ / "points.txt", Target()), params_,
                                     options);
    }
    std::filesystem::path Target() const { return folder_ / "out.txt"; }
    std::string Output() const { return ReadBytes(Target()); }

    DatumerState state_ = MakeDatumerState();
    DatumParams params_ = BuildDatumParams(state_, 1);
    TempFolder folder_;
};

// Preset 1 moves 55 N, 37 E to 55.0000136, 36.9981568 with an ellipsoidal height of 4.946 m.
TEST_F(PointListDatum, WritesTheWorkedPointInBothHeightSystems) {
    const std::string source = "p1,55,37,0,code\nИм_2,55,37,0\r\n";
    const PointListOptions normal{kNormalHeights, 7, 2};
    ASSERT_EQ(Convert(source, normal).message, "");
    EXPECT_EQ(Output(),
              "p1,55.0000136,36.9981568,0.00,code\r\nИм_2,55.0000136,36.9981568,0.00\r\n");

    const PointListOptions ellipsoidal{kEllipsoidalHeights, 7, 3};
    ASSERT_EQ(Convert(source, ellipsoidal).message, "");
    EXPECT_EQ(Output(),
              "p1,55.0000136,36.9981568,4.946,code\r\nИм_2,55.0000136,36.9981568,4.946\r\n");
}

TEST_F(PointListDatum, KeepsNormalHeightsAndWritesTransformedEllipsoidalOnes) {
    const std::string line = "1.,53.62,50.3478584,100.28,firstcode\n";
    ASSERT_TRUE(Convert(line, {kNormalHeights, 10, 3}).message.empty());
    const std::string normal = Output();
    EXPECT_EQ(normal.substr(0, 3), "1.,");
    EXPECT_EQ(normal.substr(normal.size() - 20), ",100.280,firstcode\r\n");
    // Ten decimals for each angle: "1.," + 13 + "," + 13 + ",".
    EXPECT_EQ(normal.find(",100.280"), 3u + 13 + 1 + 13);

    ASSERT_TRUE(Convert(line, {kEllipsoidalHeights, 10, 3}).message.empty());
    const std::string ellipsoidal = Output();
    EXPECT_EQ(ellipsoidal.substr(0, 31), normal.substr(0, 31));  // same B2, L2
    EXPECT_EQ(ellipsoidal.find(",100.280"), std::string::npos);
    bool ok = true;
    const std::size_t heightAt = 31;
    const double height = common::ParseSignedReal(
        ellipsoidal.substr(heightAt, ellipsoidal.find(",firstcode") - heightAt), ok);
    ASSERT_TRUE(ok);
    EXPECT_GT(std::abs(height - 100.28), 1.0);
    EXPECT_LT(std::abs(height - 100.28), 50.0);
}

TEST_F(PointListDatum, CrossesTheAntimeridianIntoTheWesternHalf) {
    ASSERT_TRUE(Convert("e,55,179.999,0\nw,55,-180,0\n", {kNormalHeights, 8, 2}).message.empty());
    const std::string out = Output();
    // At 55 N preset 1 moves a point about 0.0024 degrees east: across the 180th meridian.
    EXPECT_EQ(out.substr(0, 15), "e,54.99987906,-");
    EXPECT_NE(out.find(",-179.99"), std::string::npos);
    EXPECT_EQ(out.find("-180.0"), std::string::npos);
    EXPECT_NE(out.find("\r\nw,54.99987904,-179.99756469,0.00\r\n"), std::string::npos);
}

TEST_F(PointListDatum, FailsAtTheFirstBadLineAndLeavesNoTarget) {
    const struct {
        const char* source;
        const char* message;
    } cases[] = {
        {"a,55,37,0\nb,55,37,height\n", "Ошибка в строке 2"},
        {"a,55,37\n", "Ошибка в строке 1"},
        {"a,55,37,0\n\n", "Ошибка в строке 2"},
        {"a,90.0000001,37,0\n", "Ошибка в строке 1"},
        {"a,55,37,0\na,55,-180.5,0\n", "Ошибка в строке 2"},
        {"a,55, 37,0\n", "Ошибка в строке 1"},
    };
    for (const auto& c : cases) {
        const common::ConvertResult result = Convert(c.source, {});
        EXPECT_EQ(result.Outcome, common::ConvertOutcome::BadLine) << c.source;
        EXPECT_EQ(result.message, c.message) << c.source;
        EXPECT_FALSE(std::filesystem::exists(Target())) << c.source;
    }
}

TEST_F(PointListDatum, AcceptsTheBoundsOfLatitudeAndLongitude) {
    const common::ConvertResult result = Convert("n,90,180,0\ns,-90,-180,0", {});
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(result.Outcome, common::ConvertOutcome::Created);
    EXPECT_NE(Output().find("\r\ns,-"), std::string::npos);
}

}  // namespace
}  // namespace datumer
