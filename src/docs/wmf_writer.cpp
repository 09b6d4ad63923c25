#include "docs/wmf_writer.h"

#include <algorithm>
#include <string>

namespace kq {
namespace {

// Record functions of the metafile format.
constexpr std::uint16_t kEof = 0x0000;
constexpr std::uint16_t kSetBkMode = 0x0102;
constexpr std::uint16_t kSetMapMode = 0x0103;
constexpr std::uint16_t kSetPolyFillMode = 0x0106;
constexpr std::uint16_t kSetTextAlign = 0x012E;
constexpr std::uint16_t kSelectObject = 0x012D;
constexpr std::uint16_t kDeleteObject = 0x01F0;
constexpr std::uint16_t kSetTextColor = 0x0209;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kCreatePen = 0x02FA;
constexpr std::uint16_t kCreateFont = 0x02FB;
constexpr std::uint16_t kCreateBrush = 0x02FC;
constexpr std::uint16_t kPolygon = 0x0324;
constexpr std::uint16_t kPolyline = 0x0325;
constexpr std::uint16_t kRectangle = 0x041B;
constexpr std::uint16_t kTextOut = 0x0521;

constexpr std::uint16_t kTransparent = 1;
constexpr std::uint16_t kAnisotropic = 8;
constexpr std::uint16_t kWinding = 2;
constexpr std::uint16_t kTopLeft = 0;  // TA_TOP | TA_LEFT | TA_NOUPDATECP
constexpr std::uint16_t kSolidPen = 0, kNullPen = 5;
constexpr std::uint16_t kSolidBrush = 0, kNullBrush = 1;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kFaceBytes = 32;
// A record's point count is a signed 16-bit number.
constexpr std::size_t kMaxPoints = 32767;

std::uint16_t Coordinate(int v) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(v, -32768, 32767)));
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t w) {
    out.push_back(static_cast<std::uint8_t>(w & 0xFF));
    out.push_back(static_cast<std::uint8_t>(w >> 8));
}

void PutLong(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutWord(out, static_cast<std::uint16_t>(v & 0xFFFF));
    PutWord(out, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace

// One record's parameters; its size and function are put in front when it is added.
class WmfWriter::Record {
public:
    explicit Record(std::uint16_t function) : function_(function) {}
    Record& Word(std::uint16_t w) {
        PutWord(bytes_, w);
        return *this;
    }
    Record& At(int v) { return Word(Coordinate(v)); }
    // COLORREF: red, green, blue, 0.
    Record& Colour(std::uint32_t rgb) {
        bytes_.push_back(static_cast<std::uint8_t>(rgb >> 16));
        bytes_.push_back(static_cast<std::uint8_t>(rgb >> 8));
        bytes_.push_back(static_cast<std::uint8_t>(rgb));
        bytes_.push_back(0);
        return *this;
    }
    Record& Bytes(std::string_view b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    // Records are whole words long.
    Record& Pad() {
        if (bytes_.size() % 2 != 0) bytes_.push_back(0);
        return *this;
    }
    std::uint16_t Function() const { return function_; }
    const std::vector<std::uint8_t>& Parameters() const { return bytes_; }

private:
    std::uint16_t function_;
    std::vector<std::uint8_t> bytes_;
};

WmfWriter::WmfWriter(int width, int height, int unitsPerInch)
    : width_(std::clamp(width, 1, kMaxExtent)),
      height_(std::clamp(height, 1, kMaxExtent)),
      unitsPerInch_(std::clamp(unitsPerInch, 1, 65535)) {
    Add(Record(kSetMapMode).Word(kAnisotropic));
    Add(Record(kSetWindowOrg).At(0).At(0));
    Add(Record(kSetWindowExt).At(height_).At(width_));
    Add(Record(kSetBkMode).Word(kTransparent));
    Add(Record(kSetTextAlign).Word(kTopLeft));
    Add(Record(kSetPolyFillMode).Word(kWinding));
    SetPen(0x000000, 1);
    SetNullBrush();
}

void WmfWriter::Add(const Record& record) {
    const std::vector<std::uint8_t>& parameters = record.Parameters();
    const auto words = static_cast<std::uint32_t>(3 + parameters.size() / 2);
    PutLong(records_, words);
    PutWord(records_, record.Function());
    records_.insert(records_.end(), parameters.begin(), parameters.end());
    largestRecord_ = std::max(largestRecord_, words);
}

void WmfWriter::Select(Slot slot, const Record& record) {
    std::vector<std::uint8_t> key = record.Parameters();
    key.push_back(static_cast<std::uint8_t>(record.Function()));
    ++uses_;
    for (std::size_t i = 0; i < table_.size(); ++i) {
        Object& o = table_[i];
        if (o.slot != slot || o.record != key) continue;
        o.lastUse = uses_;
        if (selected_[slot] != static_cast<int>(i)) Add(Record(kSelectObject).Word(static_cast<std::uint16_t>(i)));
        selected_[slot] = static_cast<int>(i);
        return;
    }
    // A full table gives up the object left unused longest (never a selected one).
    std::size_t used = 0;
    for (const Object& o : table_) used += !o.record.empty();
    if (used >= kTableSize) {
        std::size_t oldest = table_.size();
        for (std::size_t i = 0; i < table_.size(); ++i) {
            const bool selected =
                std::find(std::begin(selected_), std::end(selected_), static_cast<int>(i)) != std::end(selected_);
            if (table_[i].record.empty() || selected) continue;
            if (oldest == table_.size() || table_[i].lastUse < table_[oldest].lastUse) oldest = i;
        }
        Add(Record(kDeleteObject).Word(static_cast<std::uint16_t>(oldest)));
        table_[oldest].record.clear();
    }
    // A new object takes the lowest free entry of the player's table.
    std::size_t index = 0;
    while (index < table_.size() && !table_[index].record.empty()) ++index;
    if (index == table_.size()) table_.push_back({});
    table_[index] = {slot, std::move(key), uses_};
    Add(record);
    Add(Record(kSelectObject).Word(static_cast<std::uint16_t>(index)));
    selected_[slot] = static_cast<int>(index);
}

void WmfWriter::SetPen(std::uint32_t color, int width) {
    Select(kPen, Record(kCreatePen).Word(kSolidPen).At(std::max(width, 0)).At(0).Colour(color));
}

void WmfWriter::SetNullPen() { Select(kPen, Record(kCreatePen).Word(kNullPen).At(0).At(0).Colour(0)); }

void WmfWriter::SetBrush(std::uint32_t color) {
    Select(kBrush, Record(kCreateBrush).Word(kSolidBrush).Colour(color).Word(0));
}

void WmfWriter::SetNullBrush() { Select(kBrush, Record(kCreateBrush).Word(kNullBrush).Colour(0).Word(0)); }

void WmfWriter::SetFont(std::string_view face, int height, std::uint8_t charset) {
    Record font(kCreateFont);
    // A negative height asks for that character height, without the internal leading.
    font.At(-std::max(height, 1)).At(0).At(0).At(0).Word(400);    // width, escapement, orientation, weight
    const std::uint8_t flags[] = {0, 0, 0, charset, 0, 0, 0, 0};  // italic ... pitch and family
    font.Bytes(std::string_view(reinterpret_cast<const char*>(flags), sizeof flags));
    std::string name(face.substr(0, kFaceBytes - 1));
    name.resize(kFaceBytes, '\0');
    font.Bytes(name);
    Select(kFont, font);
}

void WmfWriter::SetTextColor(std::uint32_t color) { Add(Record(kSetTextColor).Colour(color)); }

void WmfWriter::Points(std::uint16_t function, std::span<const WmfPoint> points) {
    Record record(function);
    record.Word(static_cast<std::uint16_t>(points.size()));
    for (const WmfPoint& p : points) record.At(p.x).At(p.y);
    Add(record);
}

void WmfWriter::Polyline(std::span<const WmfPoint> points) {
    // A long line goes in pieces that share their end points.
    while (points.size() >= 2) {
        const std::size_t n = std::min(points.size(), kMaxPoints);
        Points(kPolyline, points.first(n));
        points = points.subspan(n - 1);
        if (points.size() == 1) break;
    }
}

void WmfWriter::Polygon(std::span<const WmfPoint> points) {
    if (points.size() < 2) return;
    // A polygon that needs more points than a record holds is only outlined.
    if (points.size() > kMaxPoints) {
        Polyline(points);
        const WmfPoint closing[] = {points.back(), points.front()};
        Polyline(closing);
        return;
    }
    Points(kPolygon, points);
}

void WmfWriter::Rectangle(int left, int top, int right, int bottom) {
    Add(Record(kRectangle).At(bottom).At(right).At(top).At(left));
}

void WmfWriter::Text(int x, int y, std::string_view bytes) {
    bytes = bytes.substr(0, 32767);
    if (bytes.empty()) return;
    Add(Record(kTextOut).Word(static_cast<std::uint16_t>(bytes.size())).Bytes(bytes).Pad().At(y).At(x));
}

std::vector<std::uint8_t> WmfWriter::Finish() const {
    std::vector<std::uint8_t> out;
    constexpr std::uint32_t kHeaderWords = 9, kEofWords = 3;
    out.reserve(22 + 18 + records_.size() + 6);
    // The placeable header: where the picture lies and how large an inch is.
    PutLong(out, kPlaceableKey);
    PutWord(out, 0);  // no handle
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, static_cast<std::uint16_t>(width_));
    PutWord(out, static_cast<std::uint16_t>(height_));
    PutWord(out, static_cast<std::uint16_t>(unitsPerInch_));
    PutLong(out, 0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) checksum ^= static_cast<std::uint16_t>(out[i] | (out[i + 1] << 8));
    PutWord(out, checksum);
    // The metafile header: kept in memory, version 3.0.
    PutWord(out, 1);
    PutWord(out, kHeaderWords);
    PutWord(out, 0x0300);
    PutLong(out, static_cast<std::uint32_t>(kHeaderWords + records_.size() / 2 + kEofWords));
    PutWord(out, static_cast<std::uint16_t>(table_.size()));
    PutLong(out, std::max(largestRecord_, kEofWords));
    PutWord(out, 0);
    out.insert(out.end(), records_.begin(), records_.end());
    PutLong(out, kEofWords);
    PutWord(out, kEof);
    return out;
}

}  // namespace kq
