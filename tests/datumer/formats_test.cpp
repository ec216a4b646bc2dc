// The format table: numbers in list order, command-line names, the options each format takes,
// and that no number or name outside it stands for a format.

#include "datumer/files/formats.hpp"

#include <gtest/gtest.h>

#include <iterator>

namespace datumer {
namespace {

TEST(DatumerFormats, NumberedInListOrderWithTheirNamesAndOptions) {
    const struct {
        std::string_view item, name;
        bool heightDialog, pairOrder, datumLabel;
    } rows[] = {
        {"MP", "mp", false, false, true},
        {"TXT", "txt", true, false, false},
        {"MIF", "mif", false, true, true},
    };
    ASSERT_EQ(DatumerFormats().size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const DatumerFormat& format = DatumerFormats()[i];
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(format.Number, static_cast<int>(i) + 1);
        EXPECT_EQ(format.Info.ListItem, rows[i].item);
        EXPECT_EQ(format.Info.CliName, rows[i].name);
        EXPECT_EQ(format.HeightDialog, rows[i].heightDialog);
        EXPECT_EQ(format.PairOrder, rows[i].pairOrder);
        EXPECT_EQ(format.DatumLabel, rows[i].datumLabel);
        EXPECT_EQ(FindDatumerFormat(rows[i].name), &format);
        EXPECT_EQ(FindDatumerFormat(format.Number), &format);
    }
    for (int number : {0, -1, 4}) EXPECT_EQ(FindDatumerFormat(number), nullptr) << number;
    for (std::string_view name : {"", "MP", "mp-shift"})
        EXPECT_EQ(FindDatumerFormat(name), nullptr) << name;
}

}  // namespace
}  // namespace datumer
