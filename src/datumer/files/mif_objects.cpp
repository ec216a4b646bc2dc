#include "datumer/files/mif_objects.hpp"

#include "common/text.hpp"

namespace datumer {

namespace {

// Blanks, tabs and commas separate the words and numbers of a line.
bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

struct Token {
    std::string_view text;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The tokens of a line one after another.
class Tokens {
  public:
    explicit Tokens(std::string_view line) : line_(line) {}

    // False at the end of the line.
    bool Next(Token& token) {
        while (position_ < line_.size() && IsSeparator(line_[position_])) ++position_;
        if (position_ == line_.size()) return false;
        const std::size_t begin = position_;
        while (position_ < line_.size() && !IsSeparator(line_[position_])) ++position_;
        token = {line_.substr(begin, position_ - begin), begin, position_};
        return true;
    }

  private:
    std::string_view line_;
    std::size_t position_ = 0;
};

// A token that starts like a number: digits after an optional sign or point. Whether it parses
// is the converter's test; this one only tells numbers from words.
bool LooksLikeNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (i < text.size() && text[i] == '.') ++i;
    return i < text.size() && common::IsDigitChar(text[i]);
}

// A count: decimal digits only, at most 18 of them.
bool ReadCount(std::string_view text, std::uint64_t& count) {
    if (text.empty() || text.size() > 18) return false;
    count = 0;
    for (char c : text) {
        if (!common::IsDigitChar(c)) return false;
        count = count * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

enum class Keyword {
    None,
    NoObject,  // NONE
    Point,
    Line,
    Pline,
    Region,
    Arc,
    Text,
    Rect,
    Roundrect,
    Ellipse,
    Multipoint,
    Collection
};

Keyword KeywordOf(std::string_view word) {
    static constexpr struct {
        std::string_view word;
        Keyword keyword;
    } kKeywords[] = {
        {"none", Keyword::NoObject},
        {"point", Keyword::Point},
        {"line", Keyword::Line},
        {"pline", Keyword::Pline},
        {"region", Keyword::Region},
        {"arc", Keyword::Arc},
        {"text", Keyword::Text},
        {"rect", Keyword::Rect},
        {"roundrect", Keyword::Roundrect},
        {"ellipse", Keyword::Ellipse},
        {"multipoint", Keyword::Multipoint},
        {"collection", Keyword::Collection},
    };
    for (const auto& k : kKeywords)
        if (common::EqualsIgnoringCase(word, k.word)) return k.keyword;
    return Keyword::None;
}

MifLine Bad(std::string_view reason = {}) {
    MifLine line;
    line.kind = MifLine::Kind::Bad;
    line.reason = reason;
    return line;
}

// Takes `count` numbers (2 or 4) from `tokens`, the first of which is `first`. A line whose
// numbers run short is malformed; numbers after them are extra unless the tail is kept.
MifLine TakePairs(Tokens& tokens, const Token& first, std::size_t count, bool keepTail) {
    MifLine result;
    result.kind = MifLine::Kind::Pairs;
    result.prefixEnd = first.begin;
    result.keepTail = keepTail;
    Token token = first;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && !tokens.Next(token)) return Bad();
        if (!LooksLikeNumber(token.text)) return Bad();
        result.numbers[i] = token.text;
        result.tailBegin = token.end;
    }
    result.numberCount = count;
    if (!keepTail && tokens.Next(token) && LooksLikeNumber(token.text))
        return Bad(kMifExtraNumbers);
    return result;
}

// The numbers right after the keyword token of an object line.
MifLine PairsAfterKeyword(Tokens& tokens, std::size_t count, bool keepTail) {
    Token first;
    if (!tokens.Next(first)) return Bad();
    return TakePairs(tokens, first, count, keepTail);
}

}  // namespace

bool MifObjectReader::IsObjectKeyword(std::string_view line) {
    Tokens tokens(line);
    Token first;
    return tokens.Next(first) && KeywordOf(first.text) != Keyword::None;
}

MifLine MifObjectReader::Next(std::string_view line) {
    switch (expect_) {
        case Expect::Count:
            return CountLine(line);
        case Expect::Pair:
            return PairLine(line);
        case Expect::TextString:
            return TextStringLine(line);
        case Expect::TextBox: {
            expect_ = Expect::Keyword;
            Tokens tokens(line);
            Token first;
            if (!tokens.Next(first)) return Bad();
            return TakePairs(tokens, first, 4, false);
        }
        case Expect::ArcAngles:
        case Expect::CornerSize: {
            // The angles or the corner size are no positions; a line that is not a number is
            // the next object or style line instead.
            expect_ = Expect::Keyword;
            Tokens tokens(line);
            Token first;
            if (tokens.Next(first) && LooksLikeNumber(first.text)) return {};
            return KeywordLine(line);
        }
        case Expect::Keyword:
            break;
    }
    return KeywordLine(line);
}

MifLine MifObjectReader::StartBlocks(std::uint64_t sections, bool firstCountKnown,
                                     std::uint64_t firstCount) {
    inText_ = false;
    if (sections == 0) {
        expect_ = Expect::Keyword;
        return {};
    }
    sectionsLeft_ = sections - 1;
    if (!firstCountKnown) {
        expect_ = Expect::Count;
        return {};
    }
    pairsLeft_ = firstCount;
    expect_ = Expect::Pair;
    if (pairsLeft_ == 0) EndPair();
    return {};
}

void MifObjectReader::EndPair() {
    if (pairsLeft_ > 0) return;
    if (sectionsLeft_ == 0) {
        expect_ = Expect::Keyword;
        return;
    }
    --sectionsLeft_;
    expect_ = Expect::Count;
}

MifLine MifObjectReader::CountLine(std::string_view line) {
    Tokens tokens(line);
    Token first;
    std::uint64_t count = 0;
    if (!tokens.Next(first) || !ReadCount(first.text, count)) return Bad(kMifCountExpected);
    Token extra;
    if (tokens.Next(extra)) return Bad(kMifUnknownLayout);
    pairsLeft_ = count;
    expect_ = Expect::Pair;
    if (pairsLeft_ == 0) EndPair();
    return {};
}

MifLine MifObjectReader::PairLine(std::string_view line) {
    Tokens tokens(line);
    Token first;
    if (!tokens.Next(first) || !LooksLikeNumber(first.text)) return Bad(kMifFewerPoints);
    --pairsLeft_;
    EndPair();
    return TakePairs(tokens, first, 2, false);
}

MifLine MifObjectReader::TextStringLine(std::string_view line) {
    // Without a string line the box follows the keyword directly.
    Tokens tokens(line);
    Token first;
    if (tokens.Next(first) && LooksLikeNumber(first.text)) {
        expect_ = Expect::Keyword;
        return TakePairs(tokens, first, 4, false);
    }
    expect_ = Expect::TextBox;
    return {};
}

MifLine MifObjectReader::StyleLine(std::string_view line) {
    Tokens tokens(line);
    Token word;
    if (!tokens.Next(word)) return {};
    if (LooksLikeNumber(word.text)) return Bad(kMifStrayNumbers);
    // "Center x y" of a region or a polyline.
    if (common::EqualsIgnoringCase(word.text, "center")) return PairsAfterKeyword(tokens, 2, true);
    // "Label Line Simple|Arrow x y" of a text, alone or after its "Spacing".
    if (!inText_ || !(common::EqualsIgnoringCase(word.text, "label") ||
                      common::EqualsIgnoringCase(word.text, "spacing")))
        return {};
    while (!common::EqualsIgnoringCase(word.text, "label"))
        if (!tokens.Next(word)) return {};
    Token lineWord;
    Token kind;
    if (!tokens.Next(lineWord) || !common::EqualsIgnoringCase(lineWord.text, "line") ||
        !tokens.Next(kind))
        return {};
    return PairsAfterKeyword(tokens, 2, true);
}

MifLine MifObjectReader::KeywordLine(std::string_view line) {
    Tokens tokens(line);
    Token word;
    if (!tokens.Next(word)) return {};
    const Keyword keyword = KeywordOf(word.text);
    if (keyword != Keyword::None) inText_ = false;
    switch (keyword) {
        case Keyword::None:
            return StyleLine(line);
        case Keyword::NoObject:
        case Keyword::Collection:  // its parts are the objects that follow
            return {};
        case Keyword::Point:
            return PairsAfterKeyword(tokens, 2, false);
        case Keyword::Line:
        case Keyword::Rect:
        case Keyword::Ellipse:
            return PairsAfterKeyword(tokens, 4, true);
        case Keyword::Arc:
        case Keyword::Roundrect: {
            MifLine result = PairsAfterKeyword(tokens, 4, true);
            Token more;
            if (result.kind == MifLine::Kind::Pairs && !tokens.Next(more))
                expect_ = keyword == Keyword::Arc ? Expect::ArcAngles : Expect::CornerSize;
            return result;
        }
        case Keyword::Text: {
            inText_ = true;
            Token string;
            expect_ = tokens.Next(string) ? Expect::TextBox : Expect::TextString;
            return {};
        }
        case Keyword::Multipoint: {
            Token count;
            std::uint64_t points = 0;
            if (!tokens.Next(count)) return StartBlocks(1, false, 0);
            Token extra;
            if (!ReadCount(count.text, points) || tokens.Next(extra)) return Bad(kMifUnknownLayout);
            return StartBlocks(1, true, points);
        }
        case Keyword::Pline:
        case Keyword::Region:
            break;
    }
    // Pline [n], Pline Multiple m [n1], Region m [n1].
    Token next;
    std::uint64_t sections = 1;
    const bool hasNext = tokens.Next(next);
    const bool multiple = hasNext && common::EqualsIgnoringCase(next.text, "multiple");
    if (keyword == Keyword::Region || multiple) {
        if (multiple && !tokens.Next(next)) return Bad(kMifUnknownLayout);
        if (!hasNext || !ReadCount(next.text, sections)) return Bad(kMifUnknownLayout);
        if (!tokens.Next(next)) return StartBlocks(sections, false, 0);
    } else if (!hasNext) {
        return StartBlocks(1, false, 0);
    }
    std::uint64_t firstCount = 0;
    Token extra;
    if (!ReadCount(next.text, firstCount) || tokens.Next(extra)) return Bad(kMifUnknownLayout);
    return StartBlocks(sections, true, firstCount);
}

}  // namespace datumer
