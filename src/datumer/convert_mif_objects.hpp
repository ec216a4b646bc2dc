#pragma once
// The objects of a MapInfo MIF file as the datum converter sees them: keyword lines that open a
// region, a polyline, a point or a text, and the coordinate lines that follow. The tests are
// case-sensitive and look at the very start of the line; the state machine decides, line by
// line, whether a line is copied or carries coordinate pairs, and of which shape.

#include <string_view>

namespace datumer {

bool IsRegionLine(std::string_view line);         // "Region..."
bool IsPlineLine(std::string_view line);          // "Pline " and a digit
bool IsPlineMultipleLine(std::string_view line);  // "Pline Multiple..."
bool IsPointLine(std::string_view line);          // "Point..."
bool IsTextLine(std::string_view line);           // "Text..."
bool IsCountLine(std::string_view line);          // two blanks and a digit: a section count
bool IsMifCoordinateLine(std::string_view line);  // begins with a digit or a minus and a digit

// How one line is written.
enum class MifLineRole {
    Copied,      // byte for byte
    PointLine,   // "Point", the blanks after it, then one pair
    Coordinate,  // one pair, nothing before it
    TextBox,     // leading blanks, then the two corner pairs of a text's bounding box
};

// Reset for every file.
struct MifObjectState {
    bool inRegion = false;         // inside the coordinate block of a region
    bool inPlineMultiple = false;  // inside the block of a multi-section polyline
    bool inPline = false;          // inside the block of a single-section polyline
    bool afterText = false;        // the previous line was a text keyword line
    bool textBox = false;          // the current line is the bounding box of a text
};

// Moves the state past one line and says how that line is written. A keyword line that ends a
// block is itself the start of the next object.
MifLineRole NextMifLine(MifObjectState& state, std::string_view line);

}  // namespace datumer
