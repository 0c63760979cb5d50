// The repeating copies that widen the artwork, on synthetic pictures whose every column
// (or row) has its own colour, with the ledger counting the copies.
#include <gtest/gtest.h>

#include "common/blit.h"
#include "tests/support/image.h"
#include "tests/support/ledger.h"

namespace {

COLORREF Stripe(int i) { return RGB(i & 0xFF, (i >> 8) & 0xFF, 0x5A); }
uint32_t StripeRgb(int i) { return static_cast<uint32_t>((i & 0xFF) << 16 | ((i >> 8) & 0xFF) << 8 | 0x5A); }

// A source of width x height whose column (or row, when vertical) i has colour Stripe(i).
class Stripes : public Canvas {
public:
    Stripes(int width, int height, bool vertical) : Canvas(width, height, 0)
    {
        for (int i = 0; i < (vertical ? height : width); ++i) {
            HBRUSH brush = CreateSolidBrush(Stripe(i));
            RECT line = vertical ? RECT{0, i, width, i + 1} : RECT{i, 0, i + 1, height};
            FillRect(dc(), &line, brush);
            DeleteObject(brush);
        }
    }
};

constexpr COLORREF Blank = RGB(1, 2, 3);
constexpr uint32_t BlankRgb = 0x010203;

struct TiledCase {
    int run;
    int band;
    int copies;
};

// One copy from the source, then one per doubling; an empty or reversed run is one copy
// of nothing.
const TiledCase TiledCases[] = {
    {0, 100, 1}, {-10, 100, 1}, {50, 100, 1}, {100, 100, 1}, {200, 100, 2},
    {250, 100, 3}, {896, 100, 5}, {128, 20, 4}, {25, 10, 3}, {1, 1, 1}, {9, 1, 5},
};

}  // namespace

class TiledFill : public ::testing::TestWithParam<TiledCase> {};

TEST_P(TiledFill, HorizontalRepeatsTheBandByDoubling)
{
    const TiledCase c = GetParam();
    Stripes source(400, 3, false);
    Canvas dest(1000, 5, Blank);
    Ledger ledger(GetModuleHandleA(nullptr));
    BlitTiledHorizontal(dest.dc(), 50, 50 + c.run, 1, 3, source.dc(), 100, 0, c.band);
    EXPECT_EQ(ledger.Calls("BitBlt"), c.copies);

    const Image picture = dest.Read();
    const int period = std::min(std::max(c.run, 1), c.band);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 1000; ++x) {
            const bool filled = y >= 1 && y < 4 && x >= 50 && x < 50 + c.run;
            const uint32_t expected = filled ? StripeRgb(100 + (x - 50) % period) : BlankRgb;
            ASSERT_EQ(picture.At(x, y), expected) << "at (" << x << ", " << y << ")";
        }
}

TEST_P(TiledFill, VerticalRepeatsTheBandByDoubling)
{
    const TiledCase c = GetParam();
    Stripes source(3, 400, true);
    Canvas dest(5, 1000, Blank);
    Ledger ledger(GetModuleHandleA(nullptr));
    BlitTiledVertical(dest.dc(), 1, 50, 50 + c.run, 3, source.dc(), 0, 100, c.band);
    EXPECT_EQ(ledger.Calls("BitBlt"), c.copies);

    const Image picture = dest.Read();
    const int period = std::min(std::max(c.run, 1), c.band);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool filled = x >= 1 && x < 4 && y >= 50 && y < 50 + c.run;
            const uint32_t expected = filled ? StripeRgb(100 + (y - 50) % period) : BlankRgb;
            ASSERT_EQ(picture.At(x, y), expected) << "at (" << x << ", " << y << ")";
        }
}

INSTANTIATE_TEST_SUITE_P(Runs, TiledFill, ::testing::ValuesIn(TiledCases), [](const auto& info) {
    return "run" + std::string(info.param.run < 0 ? "Minus" : "") + std::to_string(std::abs(info.param.run)) +
           "band" + std::to_string(info.param.band);
});

// Source columns 0-199, then E columns repeating the band at 200 (period min(E, 300)),
// then source columns 200-1023; the record ends up holding E whatever it held before.
TEST(Segments, OneInsertionStretchesTheStrip)
{
    Stripes source(1024, 2, false);
    for (int extra : {0, 1, 100, 300, 700}) {
        SCOPED_TRACE(extra);
        Canvas dest(1024 + extra, 2, Blank);
        StretchSegment segment = {200, 300, 12345};
        BlitSegments(dest.dc(), 0, 0, 1024 + extra, 2, source.dc(), 0, 0, 1024, &segment, 1);
        EXPECT_EQ(segment.ExtraWidth, extra);
        const Image picture = dest.Read();
        for (int x = 0; x < 1024 + extra; ++x) {
            const int column = x < 200 ? x : x < 200 + extra ? 200 + (x - 200) % std::min(extra, 300) : x - extra;
            ASSERT_EQ(picture.At(x, 1), StripeRgb(column)) << "at column " << x;
        }
    }
}

TEST(Segments, NoRecordsCopiesTheStripUnchanged)
{
    Stripes source(300, 2, false);
    Canvas dest(200, 2, Blank);
    Ledger ledger(GetModuleHandleA(nullptr));
    BlitSegments(dest.dc(), 0, 0, 200, 2, source.dc(), 50, 0, 9999, nullptr, 0);
    EXPECT_EQ(ledger.Calls("BitBlt"), 1);
    const Image picture = dest.Read();
    for (int x = 0; x < 200; ++x)
        ASSERT_EQ(picture.At(x, 0), StripeRgb(50 + x));
}

// An insertion of no width joins its two fixed pieces directly; the last one takes what
// the earlier ones' rounding left, from a strip that starts inside the source.
TEST(Segments, EmptyInsertionsAndARemainder)
{
    Stripes source(400, 1, false);
    Canvas dest(300, 1, Blank);
    StretchSegment segments[] = {{120, 10, 0}, {150, 5, 7}, {200, 40, -1}};
    // Source 100..250 (150 columns) into 300: 0 + 7 + 143 extra.
    BlitSegments(dest.dc(), 0, 0, 300, 1, source.dc(), 100, 0, 250, segments, 3);
    EXPECT_EQ(segments[0].ExtraWidth, 0);
    EXPECT_EQ(segments[1].ExtraWidth, 7);
    EXPECT_EQ(segments[2].ExtraWidth, 143);
    std::vector<int> expected;
    for (int s = 100; s < 150; ++s) expected.push_back(s);
    for (int i = 0; i < 7; ++i) expected.push_back(150 + i % 5);
    for (int s = 150; s < 200; ++s) expected.push_back(s);
    for (int i = 0; i < 143; ++i) expected.push_back(200 + i % 40);
    for (int s = 200; s < 250; ++s) expected.push_back(s);
    ASSERT_EQ(expected.size(), 300u);
    const Image picture = dest.Read();
    for (int x = 0; x < 300; ++x)
        ASSERT_EQ(picture.At(x, 0), StripeRgb(expected[x])) << "at column " << x;
}
