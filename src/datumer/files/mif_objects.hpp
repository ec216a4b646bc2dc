#pragma once
// The data section of a MapInfo MIF file as the datum converter reads it, the way MapInfo and
// GDAL read it: an object starts at its keyword (any case, any indentation), and its counts say
// how many coordinate lines follow, wherever the counts stand. Every position of every object
// is found, so that none is left in the source datum:
//   Point x y                      Line x1 y1 x2 y2
//   Pline [n] / Pline Multiple m [n1], then counts and one pair per line
//   Region m [n1], then counts and one pair per line
//   Multipoint [n], then one pair per line
//   Rect, Roundrect, Ellipse x1 y1 x2 y2 (corners; a Roundrect's corner size is no position)
//   Arc x1 y1 x2 y2 (corners; its angles follow on the line or the next one)
//   Text ["string"], the string line when not on the keyword line, then the box x1 y1 x2 y2
//   Collection n, whose parts are the objects that follow
// and, among the style lines after an object, "Center x y" and a text's "Label Line kind x y".
// A line the counts do not explain, or numbers outside an object, refuse the file with a reason.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace datumer {

// Reasons for which a MIF file is refused (the message is "Ошибка в строке N: " and the reason).
inline constexpr std::string_view kMifFewerPoints = "в объекте меньше точек, чем указано";
inline constexpr std::string_view kMifCountExpected = "ожидалось число точек объекта";
inline constexpr std::string_view kMifStrayNumbers = "числа вне объекта";
inline constexpr std::string_view kMifExtraNumbers = "лишние числа в строке координат";
inline constexpr std::string_view kMifUnknownLayout = "объект записан в неизвестном виде";

// How one line of the data section is written.
struct MifLine {
    enum class Kind {
        Copied,  // byte for byte
        Pairs,   // its pairs transformed
        Bad,     // the file is refused here
    };
    Kind kind = Kind::Copied;
    std::size_t prefixEnd = 0;                  // bytes kept before the first number
    std::array<std::string_view, 4> numbers{};  // the numbers of one or two pairs, in order
    std::size_t numberCount = 0;
    bool keepTail = false;      // the bytes after the last number are kept (an arc's angles)...
    std::size_t tailBegin = 0;  // ...from here; otherwise they are dropped
    std::string_view reason;    // of a Bad line; empty when the line is merely malformed
};

// Reads the data section line by line; one reader per file.
class MifObjectReader {
  public:
    MifLine Next(std::string_view line);

    // True for a line that starts an object (its first word is an object keyword).
    static bool IsObjectKeyword(std::string_view line);

  private:
    enum class Expect { Keyword, Count, Pair, TextString, TextBox, ArcAngles, CornerSize };

    MifLine KeywordLine(std::string_view line);
    MifLine CountLine(std::string_view line);
    MifLine PairLine(std::string_view line);
    MifLine TextStringLine(std::string_view line);
    MifLine StyleLine(std::string_view line);
    // Starts the blocks of a Pline, Region or Multipoint: `sections` counts, the first of which
    // may already be known.
    MifLine StartBlocks(std::uint64_t sections, bool firstCountKnown, std::uint64_t firstCount);
    void EndPair();

    Expect expect_ = Expect::Keyword;
    std::uint64_t sectionsLeft_ = 0;  // counts still to come after the current section
    std::uint64_t pairsLeft_ = 0;     // pairs still to come in the current section
    bool inText_ = false;             // the style lines that follow belong to a text
};

}  // namespace datumer
