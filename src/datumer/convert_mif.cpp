#include <algorithm>
#include <cmath>

#include "common/text.hpp"
#include "datumer/convert_files.hpp"
#include "datumer/convert_mif_objects.hpp"

namespace datumer {

namespace {

constexpr std::uint8_t kMifDecimals = 10;
constexpr std::string_view kBlanks = " ";

// The two tokens of a pair "P Q[ ignored]": P up to the first blank, Q after the blanks that
// follow it, up to the next blank. `end` is the position after Q.
struct PairText {
    std::string_view First;
    std::string_view Second;
    std::size_t End = 0;
};

bool SplitPair(std::string_view text, PairText& pair) {
    if (text.empty() || text[0] == ' ') return false;
    const std::size_t firstEnd = text.find(' ');
    if (firstEnd == std::string_view::npos) return false;
    const std::size_t secondBegin = text.find_first_not_of(kBlanks, firstEnd);
    if (secondBegin == std::string_view::npos) return false;
    const std::size_t secondEnd = std::min(text.find(' ', secondBegin), text.size());
    pair = {text.substr(0, firstEnd), text.substr(secondBegin, secondEnd - secondBegin), secondEnd};
    return true;
}

std::string_view SkipBlanks(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(kBlanks);
    return begin == std::string_view::npos ? std::string_view{} : text.substr(begin);
}

// Header lines that end the header and name the coordinate system.
bool IsMifDataLine(std::string_view line) {
    const std::size_t begin = line.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) return false;
    const std::size_t end = line.find_last_not_of(kBlanks);
    const std::string_view word = line.substr(begin, end - begin + 1);
    return word.size() == 4 && StartsWithIgnoringCase(word, "data");
}

// Moves past `word` and at least one blank (or, for the last word, any blanks) at `text`.
bool TakeWord(std::string_view& text, std::string_view word, bool blankRequired) {
    if (!StartsWithIgnoringCase(text, word)) return false;
    const std::string_view after = text.substr(word.size());
    if (blankRequired && (after.empty() || after[0] != ' ')) return false;
    text = SkipBlanks(after);
    return true;
}

// The datum clause of "CoordSys Earth Projection 1, <datum> [Bounds ...]": its position in the
// line, or npos when the clause is not that of geographic coordinates.
struct DatumClause {
    std::size_t Begin = std::string_view::npos;
    std::size_t End = std::string_view::npos;
};

DatumClause FindGeographicDatum(std::string_view line) {
    std::string_view rest = SkipBlanks(line);
    if (!TakeWord(rest, "CoordSys", true) || !TakeWord(rest, "Earth", true) ||
        !TakeWord(rest, "Projection", true) || !TakeWord(rest, "1", false) ||
        !TakeWord(rest, ",", false) || rest.empty()) {
        return {};
    }
    const std::size_t begin = line.size() - rest.size();
    std::size_t end = line.size();
    for (std::size_t i = begin + 1; i < line.size(); ++i) {
        if (line[i - 1] == ' ' && StartsWithIgnoringCase(line.substr(i), "Bounds")) {
            end = i;
            break;
        }
    }
    while (end > begin && line[end - 1] == ' ') --end;
    return {begin, end};
}

class MifLines {
  public:
    MifLines(const DatumParams& params, const MifOptions& options, RefusalReason refusal)
        : params_(params), options_(options), refusal_(std::move(refusal)) {}

    bool operator()(std::string_view line, std::string& out) {
        const MifLineRole role = NextMifLine(state_, line);
        if (inHeader_ && role == MifLineRole::Copied) {
            if (IsMifDataLine(line)) {
                inHeader_ = false;
            } else if (StartsWithIgnoringCase(SkipBlanks(line), "CoordSys")) {
                return CoordSysLine(line, out);
            }
        }
        switch (role) {
            case MifLineRole::Copied:
                out += line;
                return true;
            case MifLineRole::Coordinate:
                return AppendPairText(line, out);
            case MifLineRole::PointLine:
                return PointLine(line, out);
            case MifLineRole::TextBox:
                return TextBoxLine(line, out);
        }
        return false;
    }

  private:
    bool Refuse(std::string_view reason) {
        if (refusal_) *refusal_ = reason;
        return false;
    }

    bool CoordSysLine(std::string_view line, std::string& out) {
        const DatumClause clause = FindGeographicDatum(line);
        if (clause.Begin == std::string_view::npos) return Refuse(kMifNotGeographic);
        return WriteDatumLabel(line, clause.Begin, clause.End, options_.Label, refusal_, out);
    }

    // "Point", the blanks after it, one pair.
    bool PointLine(std::string_view line, std::string& out) {
        const std::size_t pairBegin = std::min(line.find_first_not_of(kBlanks, 5), line.size());
        out += line.substr(0, pairBegin);
        return AppendPairText(line.substr(pairBegin), out);
    }

    // Leading blanks, then x1 y1 x2 y2: the corners become two pairs with single blanks between.
    bool TextBoxLine(std::string_view line, std::string& out) {
        const std::size_t boxBegin = std::min(line.find_first_not_of(kBlanks), line.size());
        out += line.substr(0, boxBegin);
        const std::string_view box = line.substr(boxBegin);
        PairText first;
        if (!SplitPair(box, first) || !AppendPair(first, out)) return false;
        out += ' ';
        return AppendPairText(SkipBlanks(box.substr(first.End)), out);
    }

    bool AppendPairText(std::string_view text, std::string& out) {
        PairText pair;
        return SplitPair(text, pair) && AppendPair(pair, out);
    }

    bool AppendPair(const PairText& pair, std::string& out) const {
        bool ok = true;
        const double first = common::ParseSignedReal(pair.First, ok);
        const double second = common::ParseSignedReal(pair.Second, ok);
        if (!ok) return false;
        const bool latitudeFirst = options_.Order == MifPairOrder::LatLon;
        const double latitude = latitudeFirst ? first : second;
        const double longitude = latitudeFirst ? second : first;
        if (std::fabs(latitude) > 90.0 || std::fabs(longitude) > 180.0) return false;

        const GeodeticPoint target = TransformMapPoint(latitude, longitude, params_);
        out += FileNumber(latitudeFirst ? target.B : target.L, kMifDecimals);
        out += ' ';
        out += FileNumber(latitudeFirst ? target.L : target.B, kMifDecimals);
        return true;
    }

    DatumParams params_;
    MifOptions options_;
    RefusalReason refusal_;
    MifObjectState state_;
    bool inHeader_ = true;
};

}  // namespace

common::LineFunction MifDatumLines(const DatumParams& params, const MifOptions& options,
                                   RefusalReason refusal) {
    return MifLines(params, options, std::move(refusal));
}

common::ConvertResult ConvertMifDatum(const common::ConvertJob& job, const DatumParams& params,
                                      const MifOptions& options) {
    const auto refusal = std::make_shared<std::string>();
    return ConvertRefusableLines(job, MifDatumLines(params, options, refusal), refusal);
}

}  // namespace datumer
