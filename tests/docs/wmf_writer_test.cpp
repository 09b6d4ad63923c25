// The metafile's own bookkeeping, read back record by record: the headers agree with the
// records, objects are made once and reused, and long lines are split as the format needs.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

#include "docs/bmp_rows.h"
#include "docs/wmf_canvas.h"
#include "docs/wmf_writer.h"

namespace kq {
namespace {

std::uint16_t Word(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t Long(const std::vector<std::uint8_t>& b, std::size_t at) { return Word(b, at) | (Word(b, at + 2) << 16); }

struct Record {
    std::uint16_t function;
    std::vector<std::int16_t> words;  // the parameters
};

// The records after the two headers, checking that their sizes lead exactly to the end.
std::vector<Record> Records(const std::vector<std::uint8_t>& file) {
    std::vector<Record> records;
    std::size_t at = 22 + 18;
    while (at + 6 <= file.size()) {
        const std::uint32_t words = Long(file, at);
        EXPECT_GE(words, 3u);
        Record r{Word(file, at + 4), {}};
        for (std::size_t k = 3; k < words; ++k) r.words.push_back(static_cast<std::int16_t>(Word(file, at + 2 * k)));
        records.push_back(r);
        at += 2 * std::size_t{words};
        if (r.function == 0) break;
    }
    EXPECT_EQ(at, file.size());
    return records;
}

int Count(const std::vector<Record>& records, std::uint16_t function) {
    int n = 0;
    for (const Record& r : records) n += r.function == function;
    return n;
}

constexpr std::uint16_t kPolyline = 0x0325, kCreatePen = 0x02FA, kSelect = 0x012D, kDelete = 0x01F0;

TEST(WmfWriter, HeadersDescribeTheRecords) {
    WmfWriter w(4800, 3200, 1536);
    const WmfPoint line[] = {{0, 0}, {100, 200}};
    w.Polyline(line);
    w.Text(10, 20, "abc");
    const std::vector<std::uint8_t> file = w.Finish();
    ASSERT_GE(file.size(), 40u);
    EXPECT_EQ(Long(file, 0), 0x9AC6CDD7u);
    EXPECT_EQ(Word(file, 10), 4800);  // right
    EXPECT_EQ(Word(file, 12), 3200);  // bottom
    EXPECT_EQ(Word(file, 14), 1536);  // units per inch
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) checksum ^= Word(file, i);
    EXPECT_EQ(Word(file, 20), checksum);
    EXPECT_EQ(Word(file, 22 + 4), 0x0300);
    EXPECT_EQ(Long(file, 22 + 6) * 2, file.size() - 22);  // the size in words, headers included
    const std::vector<Record> records = Records(file);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().function, 0);
    std::uint32_t largest = 0;
    for (const Record& r : records)
        largest = std::max<std::uint32_t>(largest, 3 + static_cast<std::uint32_t>(r.words.size()));
    EXPECT_EQ(Long(file, 22 + 12), largest);
    // Text: its length, the bytes padded to a whole word, then y and x.
    for (const Record& r : records)
        if (r.function == 0x0521) {
            EXPECT_EQ(r.words, (std::vector<std::int16_t>{3, 'a' | ('b' << 8), 'c', 20, 10}));
        }
}

TEST(WmfWriter, ObjectsAreMadeOnceAndTheTableStaysSmall) {
    WmfWriter w(100, 100, 96);
    for (int round = 0; round < 5; ++round)
        for (std::uint32_t c = 0; c < 3; ++c) w.SetPen(c, 1);
    std::vector<Record> records = Records(w.Finish());
    // The starting black pen, then two more; going back to one is only a selection.
    EXPECT_EQ(Count(records, kCreatePen), 3);
    EXPECT_EQ(Count(records, kDelete), 0);
    EXPECT_GE(Count(records, kSelect), 15);

    WmfWriter many(100, 100, 96);
    for (std::uint32_t c = 0; c < 200; ++c) many.SetPen(c * 0x010101, 1);
    const std::vector<std::uint8_t> file = many.Finish();
    records = Records(file);
    EXPECT_LE(Word(file, 22 + 10), 32);  // objects in the table at once
    EXPECT_EQ(Count(records, kCreatePen) - Count(records, kDelete), Word(file, 22 + 10) - 1);  // less the brush
    // Every selection names an entry that holds an object.
    std::map<int, bool> held;
    int next = 0;
    for (const Record& r : records) {
        if (r.function == kCreatePen || r.function == 0x02FC) {
            while (held[next]) ++next;
            held[next] = true;
            next = 0;
        } else if (r.function == kDelete) {
            held[r.words[0]] = false;
        } else if (r.function == kSelect) {
            EXPECT_TRUE(held[r.words[0]]) << r.words[0];
        }
    }
}

TEST(WmfWriter, LongLinesAreSplitAndCoordinatesClamped) {
    WmfWriter w(100, 100, 96);
    std::vector<WmfPoint> points(70000);
    for (std::size_t i = 0; i < points.size(); ++i) points[i] = {static_cast<int>(i % 100), 40000};
    w.Polyline(points);
    const std::vector<Record> records = Records(w.Finish());
    int total = 0, pieces = 0;
    for (const Record& r : records)
        if (r.function == kPolyline) {
            ++pieces;
            total += r.words[0];
            EXPECT_EQ(r.words[2], 32767);  // y beyond 16 bits
        }
    EXPECT_EQ(pieces, 3);
    EXPECT_EQ(total, 70000 + 2);  // the pieces share their end points
}

TEST(WmfCanvas, LinesGoThroughPixelCentresAndRunsBecomeOneRecord) {
    WmfCanvas c(100, 50, nullptr);
    c.MoveTo(1, 2);
    c.LineTo(5, 2);
    c.LineTo(5, 9);
    c.LineTo(5, 9);  // to itself: nothing
    c.MoveTo(0, 0);
    c.LineTo(3, 3);
    const std::vector<Record> records = Records(c.Finish());
    std::vector<std::vector<std::int16_t>> lines;
    for (const Record& r : records)
        if (r.function == kPolyline) lines.push_back(r.words);
    const int k = 16;  // units a pixel for a picture this small
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              (std::vector<std::int16_t>{3, 1 * k + 8, 2 * k + 8, 5 * k + 8, 2 * k + 8, 5 * k + 8, 9 * k + 8}));
    EXPECT_EQ(lines[1], (std::vector<std::int16_t>{2, 8, 8, 3 * k + 8, 3 * k + 8}));
}

TEST(WmfCanvas, SizesTheFormatCannotHoldAreRefused) {
    struct Case {
        int width, height;
        bool fits;
    };
    for (const Case c : {Case{1, 1, true}, Case{20000, 20000, true}, Case{32766, 10, true}, Case{32767, 10, false},
                         Case{0, 10, false}, Case{10, -1, false}}) {
        EXPECT_EQ(WmfCanvas::Fits(c.width, c.height), c.fits) << c.width << "x" << c.height;
        if (c.fits) {
            EXPECT_FALSE(WmfCanvas(c.width, c.height, nullptr).Finish().empty());
        }
    }
}

TEST(BmpRows, RowsArePaddedToWordsAndTheHeaderCountsThem) {
    struct Case {
        int width, height;
        std::size_t rowBytes;
    };
    for (const Case c : {Case{1, 1, 4}, Case{2, 3, 8}, Case{3, 2, 12}, Case{4, 1, 12}, Case{5, 7, 16}}) {
        const std::optional<BmpRows> rows = BmpRows::For(c.width, c.height);
        ASSERT_TRUE(rows);
        EXPECT_EQ(rows->RowBytes(), c.rowBytes);
        const std::vector<std::uint8_t> header = rows->Header();
        ASSERT_EQ(header.size(), 54u);
        EXPECT_EQ(Long(header, 2), 54 + c.rowBytes * static_cast<std::size_t>(c.height));
        EXPECT_EQ(static_cast<int>(Long(header, 18)), c.width);
        EXPECT_EQ(static_cast<int>(Long(header, 22)), c.height);
        EXPECT_EQ(Word(header, 28), 24);
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(c.width), 0xFF123456);
        std::vector<std::uint8_t> row;
        rows->Row(pixels, row);
        ASSERT_EQ(row.size(), c.rowBytes);
        EXPECT_EQ(row[0], 0x56);  // blue, green, red
        EXPECT_EQ(row[1], 0x34);
        EXPECT_EQ(row[2], 0x12);
        for (std::size_t i = 3 * static_cast<std::size_t>(c.width); i < row.size(); ++i) EXPECT_EQ(row[i], 0);
    }
    EXPECT_FALSE(BmpRows::For(0, 5));
    EXPECT_FALSE(BmpRows::For(40000, 40000));  // more than the 32-bit size field holds
}

}  // namespace
}  // namespace kq
