#include "tests/host/expected_face.h"

#include <algorithm>

#include "tests/host/host.h"

namespace {

// A piece of full width or full height along the other direction.
Piece Columns(int left, int right, int height, int fromX, int period)
{
    return Piece{{left, 0, right, height}, {fromX, 0}, {period, 0}};
}

Piece Rows(int top, int bottom, int width, int fromY, int period)
{
    return Piece{{0, top, width, bottom}, {0, fromY}, {0, period}};
}

struct Insertion {
    int sourceX;
    int band;
};

struct Strip {
    int top, bottom;
    int divisor;  // each insertion but the last gets (extra width / divisor) columns
    std::vector<Insertion> insertions;
};

const std::vector<Strip> BottomStrips = {
    {0, 139, 1, {{200, 300}}},
    {139, 156, 10, {{80, 40}, {190, 30}, {245, 10}, {300, 10}, {368, 10}, {426, 10}, {470, 10}, {560, 40}, {800, 40}}},
    {156, 201, 8, {{225, 7}, {347, 7}, {469, 7}, {591, 7}, {713, 7}, {770, 30}}},
};

int ExtraWidth(SIZE screen) { return std::max(0, static_cast<int>(screen.cx) - 1024); }
int ExtraHeight(SIZE screen) { return std::max(0, static_cast<int>(screen.cy) - 768); }

// Source column s of a strip shows at s plus the insertions at or before s; insertion k
// fills the columns just before its own source column's place.
std::vector<Piece> StripPieces(const Strip& strip, int extra, int width)
{
    std::vector<int> extras(strip.insertions.size(), extra / strip.divisor);
    int given = 0;
    for (size_t k = 0; k + 1 < extras.size(); ++k)
        given += extras[k];
    extras.back() = extra - given;

    std::vector<Piece> pieces;
    int shift = 0;
    int previous = 0;
    for (size_t k = 0; k < strip.insertions.size(); ++k) {
        const Insertion& at = strip.insertions[k];
        pieces.push_back({{previous + shift, strip.top, at.sourceX + shift, strip.bottom}, {previous, strip.top}, {}});
        const int period = std::min(extras[k], at.band);
        pieces.push_back({{at.sourceX + shift, strip.top, at.sourceX + shift + extras[k], strip.bottom},
                          {at.sourceX, strip.top}, {period, 0}});
        shift += extras[k];
        previous = at.sourceX;
    }
    pieces.push_back({{previous + shift, strip.top, width, strip.bottom}, {previous, strip.top}, {}});
    return pieces;
}

}  // namespace

std::vector<ExpectedBitmap> ExpectedFace(SIZE screen)
{
    const int dW = ExtraWidth(screen);
    const int dH = ExtraHeight(screen);
    const int half = dH / 2;
    const int width = 1024 + dW;
    const int middle = 552 + dH;

    ExpectedBitmap top{102, {0, 0}, {width, 15},
                       {Columns(0, 100, 15, 0, 0), Columns(100, 100 + dW, 15, 100, 100),
                        Columns(100 + dW, width, 15, 100, 0)}};
    ExpectedBitmap bottom{105, {0, screen.cy - 201}, {width, 201}, {}};
    for (const Strip& strip : BottomStrips)
        for (const Piece& piece : StripPieces(strip, dW, width))
            bottom.pieces.push_back(piece);
    ExpectedBitmap left{103, {0, 15}, {11, middle},
                        {Rows(0, 100, 11, 0, 0), Rows(100, 100 + half, 11, 100, 20),
                         Rows(100 + half, 450 + half, 11, 100, 0), Rows(450 + half, 450 + 2 * half, 11, 450, 20),
                         Rows(450 + 2 * half, 552 + 2 * half, 11, 450, 0)}};
    // The art's last row again fills the row that an odd extra height leaves at the bottom.
    if (dH % 2)
        left.pieces.push_back(Rows(middle - 1, middle, 11, 551, 0));
    ExpectedBitmap right{104, {screen.cx - 184, 15}, {184, middle},
                         {Rows(0, 300, 184, 0, 0), Rows(300, 300 + dH, 184, 300, 100),
                          Rows(300 + dH, middle, 184, 300, 0)}};
    return {top, bottom, left, right};
}

Image ComposeFace(const std::vector<ExpectedBitmap>& face, const std::map<int, Image>& art,
                  SIZE screen, uint32_t fill)
{
    Image picture;
    picture.width = screen.cx;
    picture.height = screen.cy;
    picture.pixels.assign(static_cast<size_t>(screen.cx) * screen.cy, fill);
    for (const ExpectedBitmap& bitmap : face) {
        const Image& source = art.at(bitmap.id);
        for (const Piece& piece : bitmap.pieces)
            for (int y = piece.area.top; y < piece.area.bottom; ++y)
                for (int x = piece.area.left; x < piece.area.right; ++x) {
                    const int sx = bitmap.at.x + x;
                    const int sy = bitmap.at.y + y;
                    if (sx < 0 || sy < 0 || sx >= screen.cx || sy >= screen.cy)
                        continue;
                    const int dx = x - piece.area.left;
                    const int dy = y - piece.area.top;
                    const int ax = piece.from.x + (piece.period.cx ? dx % piece.period.cx : dx);
                    const int ay = piece.from.y + (piece.period.cy ? dy % piece.period.cy : dy);
                    picture.pixels[static_cast<size_t>(sy) * screen.cx + sx] = source.At(ax, ay);
                }
    }
    return picture;
}

Image ComposeScaledFace(HMODULE module, SIZE screen, int scale, uint32_t fill)
{
    const int d = scale % 2 ? 1 : 2;
    const SIZE layout = ScaledScreen{screen, scale}.Layout();
    std::vector<ExpectedBitmap> face = ExpectedFace(layout);
    std::map<int, Image> art;
    for (ExpectedBitmap& bitmap : face) {
        art[bitmap.id] = LoadArt(module, bitmap.id + (d == 2 ? 2000 : 0));
        bitmap.at = {d * bitmap.at.x, d * bitmap.at.y};
        bitmap.size = {d * bitmap.size.cx, d * bitmap.size.cy};
        for (Piece& piece : bitmap.pieces)
            piece = {{d * piece.area.left, d * piece.area.top, d * piece.area.right, d * piece.area.bottom},
                     {d * piece.from.x, d * piece.from.y}, {d * piece.period.cx, d * piece.period.cy}};
    }
    const Image drawn = ComposeFace(face, art, {d * layout.cx, d * layout.cy}, fill);
    return Crop(Enlarge(drawn, scale / d), {0, 0, screen.cx, screen.cy});
}
