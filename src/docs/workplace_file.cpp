#include "docs/workplace_file.h"

#include <cmath>
#include <string_view>

#include "docs/docs_texts.h"
#include "docs/workplace_format.h"
#include "engine/number_text.h"

namespace kq {
namespace wf = workplace_format;
namespace {

// Reads fields front to back and never past the end: what is missing reads as empty, and
// the reader remembers that something was.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint8_t Byte() {
        if (pos_ < bytes_.size()) return bytes_[pos_++];
        ranOut_ = true;
        return 0;
    }
    void Skip() { Byte(); }
    // Whether a field, or `more` bytes after the last one read, were missing.
    bool RanOut(std::size_t more = 0) const { return ranOut_ || bytes_.size() - pos_ < more; }
    std::uint8_t PeekByte() const { return pos_ < bytes_.size() ? bytes_[pos_] : 0; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    // The bytes up to, not including, `terminator` (or to the end); the terminator is skipped.
    std::string Text(char terminator) {
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != static_cast<std::uint8_t>(terminator)) ++pos_;
        std::string text(reinterpret_cast<const char*>(bytes_.data()) + start, pos_ - start);
        Skip();
        return text;
    }

    // At most `limit` bytes, stopping before a line feed.
    std::string Line(std::size_t limit) {
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && pos_ - start < limit && bytes_[pos_] != static_cast<std::uint8_t>(wf::kLineFeed))
            ++pos_;
        return std::string(reinterpret_cast<const char*>(bytes_.data()) + start, pos_ - start);
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool ranOut_ = false;
};

// The number a range text starts with (0 when none, or too large); `exact` is cleared unless
// the whole text is a number the type holds.
long double RangeNumber(std::string_view text, bool& exact) {
    const long double value = LeadingDecimal(text);
    const std::size_t length = LeadingDecimalLength(text);
    if (length == 0 || length != text.size() || !std::isfinite(value)) exact = false;
    return std::isfinite(value) ? value : 0.0L;
}

std::size_t FileSize(const Workplace& w) {
    std::size_t size = wf::kMagic.size() + 2 + w.formula.size() + 1 + 1 + w.firstLine.size() + 1 +
                       w.secondLine.size() + 1 + 1 + wf::kEndMarker.size();
    for (long double v : {w.xFrom, w.xTo, w.yFrom, w.yTo}) size += RangeText(v).size() + 1;
    for (const std::string& entry : w.list) size += entry.size() + 1;
    return size;
}

void Append(std::vector<std::uint8_t>& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

void AppendField(std::vector<std::uint8_t>& out, std::string_view text, char terminator) {
    Append(out, text);
    out.push_back(static_cast<std::uint8_t>(terminator));
}

void CheckTerminator(const std::string& text, char terminator, const std::string& name, std::string& refusal) {
    if (text.find(terminator) == std::string::npos) return;
    if (!refusal.empty()) refusal += '\n';
    refusal += FillMessage(kTerminatorInText, {name, std::string(1, terminator)});
}

}  // namespace

std::string FillMessage(std::string pattern, const std::vector<std::string>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string mark = "%" + std::to_string(i + 1);
        const std::size_t at = pattern.find(mark);
        if (at != std::string::npos) pattern.replace(at, mark.size(), values[i]);
    }
    return pattern;
}

std::string FieldName(int field) { return kFieldNames[field]; }

std::string TooLargeText() { return FillMessage(kWorkplaceTooLargeText, {std::to_string(wf::kMaxFileBytes)}); }

std::string ListEntryName(std::size_t index) { return FillMessage(kListEntryName, {std::to_string(index + 1)}); }

std::string RangeText(long double value) { return FormatC(wf::kRangeFormat, value); }

WorkplaceBytes WorkplaceToBytes(const Workplace& w) {
    WorkplaceBytes result;
    if (w.list.size() > wf::kMaxListEntries)
        result.refusal =
            FillMessage(kTooManyListEntries, {std::to_string(w.list.size()), std::to_string(wf::kMaxListEntries)});
    CheckTerminator(w.formula, wf::kFormulaEnd, FieldName(0), result.refusal);
    for (std::size_t i = 0; i < w.list.size(); ++i)
        CheckTerminator(w.list[i], wf::kListEntryEnd, ListEntryName(i), result.refusal);
    CheckTerminator(w.firstLine, wf::kCalcLineEnd, FieldName(1), result.refusal);
    CheckTerminator(w.secondLine, wf::kCalcLineEnd, FieldName(2), result.refusal);
    if (FileSize(w) > wf::kMaxFileBytes) {
        if (!result.refusal.empty()) result.refusal += '\n';
        result.refusal += TooLargeText();
    }
    if (!result.refusal.empty()) return result;

    std::vector<std::uint8_t>& out = result.bytes;
    Append(out, wf::kMagic);
    out.push_back(w.absolute ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(wf::kSeparator));
    for (long double v : {w.xFrom, w.xTo, w.yFrom, w.yTo}) AppendField(out, RangeText(v), wf::kRangeEnd);
    AppendField(out, w.formula, wf::kFormulaEnd);
    out.push_back(static_cast<std::uint8_t>(w.list.size()));
    for (const std::string& entry : w.list) AppendField(out, entry, wf::kListEntryEnd);
    AppendField(out, w.firstLine, wf::kCalcLineEnd);
    AppendField(out, w.secondLine, wf::kCalcLineEnd);
    out.push_back(static_cast<std::uint8_t>(w.activeLine == wf::kSecondLine ? wf::kSecondLine : wf::kFirstLine));
    Append(out, wf::kEndMarker);
    return result;
}

std::optional<Workplace> WorkplaceFromBytes(std::span<const std::uint8_t> bytes, bool* damaged) {
    FieldReader in(bytes);
    if (in.Line(wf::kMagic.size()) != wf::kMagic) return std::nullopt;
    // The flag byte is 0 or 1; a line feed here means a text that merely starts with the magic.
    if (in.PeekByte() == static_cast<std::uint8_t>(wf::kLineFeed) && !in.AtEnd()) return std::nullopt;

    Workplace w;
    w.absolute = in.Byte() != 0;
    in.Skip();
    bool numbers = true;
    w.xFrom = RangeNumber(in.Text(wf::kRangeEnd), numbers);
    w.xTo = RangeNumber(in.Text(wf::kRangeEnd), numbers);
    w.yFrom = RangeNumber(in.Text(wf::kRangeEnd), numbers);
    w.yTo = RangeNumber(in.Text(wf::kRangeEnd), numbers);
    w.formula = in.Text(wf::kFormulaEnd);
    const int count = in.Byte();
    w.list.reserve(count);
    for (int i = 0; i < count; ++i) w.list.push_back(in.Text(wf::kListEntryEnd));
    w.firstLine = in.Text(wf::kCalcLineEnd);
    w.secondLine = in.Text(wf::kCalcLineEnd);
    w.activeLine = in.Byte() == wf::kSecondLine ? wf::kSecondLine : wf::kFirstLine;
    // The end marker itself is not looked at, only whether the file goes on as far as it.
    if (damaged) *damaged = in.RanOut(wf::kEndMarker.size()) || !numbers;
    return w;
}

}  // namespace kq
