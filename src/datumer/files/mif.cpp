#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "common/text.hpp"
#include "datumer/files/converters.hpp"
#include "datumer/files/datum_labels.hpp"
#include "datumer/files/mif_objects.hpp"
#include "datumer/geodesy/transform_files.hpp"

namespace datumer {

namespace {

constexpr std::uint8_t kMifDecimals = 10;
constexpr std::string_view kFormatName = "MIF";

// A word, a number, a comma or a quoted text of a header line, with its place in the line.
struct HeaderToken {
    std::string_view text;
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::vector<HeaderToken> HeaderTokens(std::string_view line) {
    std::vector<HeaderToken> tokens;
    std::size_t position = 0;
    while (position < line.size()) {
        const char c = line[position];
        if (c == ' ' || c == '\t') {
            ++position;
            continue;
        }
        std::size_t end = position + 1;
        if (c == '"') {
            end = line.find('"', end);
            end = end == std::string_view::npos ? line.size() : end + 1;
        } else if (c != ',' && c != '(' && c != ')') {
            while (end < line.size() && line.find_first_of(" \t,()\"", end) != end) ++end;
        }
        tokens.push_back({line.substr(position, end - position), position, end});
        position = end;
    }
    return tokens;
}

// A number of the file: ParseSignedReal's form with "." as the decimal separator, or with an
// exponent as some writers put it.
bool ReadMifNumber(std::string_view text, double& value) {
    // A comma separates numbers in MIF files; it is no decimal separator there.
    if (text.find(',') != std::string_view::npos) return false;
    bool ok = true;
    value = common::ParseSignedReal(text, ok);
    if (ok) return true;
    if (text.find_first_of("eE") == std::string_view::npos) return false;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() &&
           std::isfinite(value);
}

// The header keys that end a CoordSys clause continued over several lines.
bool IsHeaderKey(std::string_view word) {
    for (std::string_view key : {"version", "charset", "delimiter", "unique", "index", "coordsys",
                                 "transform", "columns", "data"})
        if (common::EqualsIgnoringCase(word, key)) return true;
    return false;
}

// The CoordSys clause, read token by token over as many lines as it takes. Its datum is what
// follows "Earth Projection 1,": a number, and for the custom forms the parameters after it.
class CoordSysClause {
  public:
    void Start() {
        *this = CoordSysClause();
        active_ = true;
    }
    bool Active() const { return active_; }
    bool NotGeographic() const { return step_ == Step::NotGeographic; }
    bool HasDatum() const { return !numbers_.empty(); }
    bool DatumComplete() const { return step_ == Step::After || (!active_ && HasDatum()); }
    // The clause ends at another header key; false when it named no datum.
    bool End() {
        active_ = false;
        return HasDatum();
    }
    std::span<const double> Numbers() const { return numbers_; }
    const std::string& LabelText() const { return labelText_; }

    // Reads one line of the clause from token `first` on and gives the datum's span in it
    // (begin == end when the line holds none of it).
    void Read(const std::vector<HeaderToken>& tokens, std::size_t first, std::size_t& begin,
              std::size_t& end) {
        begin = end = 0;
        for (std::size_t i = first; i < tokens.size() && step_ != Step::NotGeographic; ++i) {
            if (!Take(tokens[i].text)) continue;
            if (begin == end) begin = tokens[i].begin;
            end = tokens[i].end;
        }
    }

  private:
    enum class Step { Earth, Projection, Type, Comma, Datum, InDatum, After, NotGeographic };

    static Step Expect(bool met, Step next) { return met ? next : Step::NotGeographic; }

    // Moves past one token; true when it belongs to the datum.
    bool Take(std::string_view token) {
        double value = 0.0;
        const bool number = ReadMifNumber(token, value);
        switch (step_) {
            case Step::Earth:
                step_ = Expect(common::EqualsIgnoringCase(token, "earth"), Step::Projection);
                return false;
            case Step::Projection:
                step_ = Expect(common::EqualsIgnoringCase(token, "projection"), Step::Type);
                return false;
            case Step::Type:
                step_ = Expect(number && value == 1, Step::Comma);
                return false;
            case Step::Comma:
                step_ = Expect(token == ",", Step::Datum);
                return false;
            case Step::Datum:
                step_ = Expect(number, Step::InDatum);
                if (number) AddNumber(token, value);
                return number;
            case Step::InDatum:
                if (token == "," && !afterComma_) {
                    afterComma_ = true;  // the datum may go on, also on the next line
                    return true;
                }
                if (number && afterComma_) {
                    afterComma_ = false;
                    AddNumber(token, value);
                    return true;
                }
                step_ = Step::After;
                break;
            case Step::After:
            case Step::NotGeographic:
                break;
        }
        // Affine coordinates are no plain degrees.
        if (common::EqualsIgnoringCase(token, "affine")) step_ = Step::NotGeographic;
        return false;
    }

    void AddNumber(std::string_view text, double value) {
        if (!labelText_.empty()) labelText_ += ", ";
        labelText_ += text;
        numbers_.push_back(value);
    }

    Step step_ = Step::Earth;
    bool active_ = false;
    bool afterComma_ = false;
    std::vector<double> numbers_;  // the datum number and its parameters
    std::string labelText_;        // the datum as written, for warnings
};

// The first word of a line.
std::string_view FirstWord(std::string_view line) {
    const std::size_t begin = line.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    const std::size_t end = line.find_first_of(" \t,(", begin);
    return line.substr(begin, (end == std::string_view::npos ? line.size() : end) - begin);
}

class MifLines {
  public:
    MifLines(const DatumParams& params, const MifOptions& options, MapNotesPtr notes)
        : transform_(params, {kMifDecimals, 0, false}),
          options_(options),
          targetLabel_(MifDatumLabel(options.Label.TargetSystem)),
          relabel_(!options.Label.KeepSourceLabel && !targetLabel_.empty()),
          notes_(std::move(notes)) {}

    bool operator()(std::string_view line, std::string& out) {
        refusal_.clear();
        const std::string_view text = common::TakeByteOrderMark(line, out);
        if (inHeader_ ? HeaderLine(text, out) : DataLine(text, out)) return true;
        out = refusal_;  // a bad line leaves the reason the file is refused for, or nothing
        return false;
    }

    // A line too long to hold is copied when it carries no positions and no part of the header
    // the converter reads.
    bool LongLineHead(std::string_view head, std::string& out) {
        std::string mark;
        const std::string_view text = common::TakeByteOrderMark(head, mark);
        if (inHeader_ && columnsLeft_ == 0 && !MifObjectReader::IsObjectKeyword(text)) {
            if (clause_.Active() || IsHeaderKey(FirstWord(text))) return false;
        } else if (!inHeader_) {
            MifObjectReader probe = objects_;
            if (probe.Next(text).kind != MifLine::Kind::Copied) return false;
        }
        return (*this)(head, out);
    }

  private:
    bool Refuse(std::string_view reason) {
        refusal_ = reason;
        return false;
    }

    // A header line: copied, or the clause's datum relabelled; the first object of a file
    // without its Data line. False when the file is refused.
    bool HeaderLine(std::string_view line, std::string& out) {
        const std::string_view word = FirstWord(line);
        const std::size_t wordEnd =
            static_cast<std::size_t>(word.data() - line.data()) + word.size();
        const bool alone = line.find_first_not_of(" \t", wordEnd) == std::string_view::npos;
        if (columnsLeft_ > 0 && !(common::EqualsIgnoringCase(word, "data") && alone)) {
            --columnsLeft_;  // a column definition, whatever its name
            out += line;
            return true;
        }
        const bool key = IsHeaderKey(word);
        if ((key || MifObjectReader::IsObjectKeyword(line)) && !EndClause()) return false;
        if (common::EqualsIgnoringCase(word, "coordsys")) {
            clause_.Start();
            return ClauseLine(line, 1, out);
        }
        if (!key && clause_.Active()) return ClauseLine(line, 0, out);
        if (common::EqualsIgnoringCase(word, "transform") && !IdentityTransform(HeaderTokens(line)))
            return Refuse(kMifScaled);
        if (common::EqualsIgnoringCase(word, "columns"))
            columnsLeft_ = ReadColumns(HeaderTokens(line));
        if (common::EqualsIgnoringCase(word, "data")) inHeader_ = false;
        if (!key && MifObjectReader::IsObjectKeyword(line)) {
            inHeader_ = false;  // a file without its Data line
            return DataLine(line, out);
        }
        out += line;
        return true;
    }

    // Ends a clause at the next header key; false when it named no datum.
    bool EndClause() {
        if (!clause_.Active()) return true;
        if (!clause_.End()) return Refuse(kMifNotGeographic);
        CheckLabel();
        return true;
    }

    static int ReadColumns(const std::vector<HeaderToken>& tokens) {
        bool ok = tokens.size() > 1;
        const std::int32_t count = ok ? common::ParseUnsignedInt(tokens[1].text, ok) : 0;
        return ok ? count : 0;
    }

    // "Transform 1, 1, 0, 0" leaves coordinates as they are; any other scales them.
    static bool IdentityTransform(const std::vector<HeaderToken>& tokens) {
        std::vector<double> values;
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            double value = 0.0;
            if (ReadMifNumber(tokens[i].text, value)) values.push_back(value);
        }
        if (values.size() != 4) return false;
        // A multiplier 0 stands for 1, as MapInfo and GDAL read it.
        return (values[0] == 1 || values[0] == 0) && (values[1] == 1 || values[1] == 0) &&
               values[2] == 0 && values[3] == 0;
    }

    // One line of the clause: the datum's first token replaced by the target label, its further
    // tokens dropped; or the line copied when the label is kept.
    bool ClauseLine(std::string_view line, std::size_t first, std::string& out) {
        const bool datumBefore = clause_.HasDatum();
        std::size_t begin = 0;
        std::size_t end = 0;
        clause_.Read(HeaderTokens(line), first, begin, end);
        if (clause_.NotGeographic()) return Refuse(kMifNotGeographic);
        if (!relabel_ || begin == end) {
            out += line;
        } else {
            out += line.substr(0, begin);
            if (!datumBefore) out += targetLabel_;
            out += line.substr(end);
        }
        if (clause_.DatumComplete()) CheckLabel();
        return true;
    }

    // Warns, once the datum is read, of a label that names another system than the preset's
    // source and of a target the format has no label for.
    void CheckLabel() {
        if (labelChecked_) return;
        labelChecked_ = true;
        RelabelDatum(clause_.LabelText(), SystemsOfMifDatum(clause_.Numbers()), targetLabel_,
                     kFormatName, options_.Label, *notes_);
    }

    bool DataLine(std::string_view line, std::string& out) {
        const MifLine plan = objects_.Next(line);
        switch (plan.kind) {
            case MifLine::Kind::Copied:
                out += line;
                return true;
            case MifLine::Kind::Bad:
                return Refuse(plan.reason);
            case MifLine::Kind::Pairs:
                break;
        }
        out += line.substr(0, plan.prefixEnd);
        for (std::size_t i = 0; i < plan.numberCount; i += 2) {
            if (i > 0) out += ' ';
            if (!AppendPair(plan.numbers[i], plan.numbers[i + 1], out)) return false;
        }
        if (plan.keepTail) out += line.substr(plan.tailBegin);
        return true;
    }

    bool AppendPair(std::string_view firstText, std::string_view secondText,
                    std::string& out) const {
        double first = 0.0;
        double second = 0.0;
        if (!ReadMifNumber(firstText, first) || !ReadMifNumber(secondText, second)) return false;
        const bool latitudeFirst = options_.Order == MifPairOrder::LatLon;
        const double latitude = latitudeFirst ? first : second;
        const double longitude = latitudeFirst ? second : first;
        if (!(std::fabs(latitude) <= 90.0 && std::fabs(longitude) <= 180.0)) return false;

        const GeodeticPoint target = transform_({latitude, longitude, 0.0});
        common::AppendFileNumber(out, latitudeFirst ? target.B : target.L, kMifDecimals);
        out += ' ';
        common::AppendFileNumber(out, latitudeFirst ? target.L : target.B, kMifDecimals);
        return true;
    }

    FileDatumTransform transform_;
    MifOptions options_;
    std::string targetLabel_;
    bool relabel_;
    MapNotesPtr notes_;
    std::string refusal_;  // why the current line refuses the file
    MifObjectReader objects_;
    CoordSysClause clause_;
    bool labelChecked_ = false;
    bool inHeader_ = true;
    int columnsLeft_ = 0;
};

}  // namespace

FileLines MifDatumLines(const DatumParams& params, const MifOptions& options, MapNotesPtr notes) {
    if (!notes) notes = std::make_shared<MapNotes>();
    FileLines lines = MapFileLines(std::make_shared<MifLines>(params, options, std::move(notes)));
    lines.Read.ReasonInOutput = true;
    return lines;
}

common::ConvertResult ConvertMifDatum(const common::ConvertJob& job, const DatumParams& params,
                                      const MifOptions& options) {
    const auto notes = std::make_shared<MapNotes>();
    return ConvertMapLines(job, MifDatumLines(params, options, notes), notes);
}

}  // namespace datumer
