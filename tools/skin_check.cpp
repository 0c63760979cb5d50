// veltra_skin_check DIR: every problem of a skin folder, found by the library's own checks
// (this program is linked with the library's code and art), then, for every band that the
// library repeats to widen the face or the seek track, the largest colour step where the band
// meets its own copy: a seam seen before a user sees it. Exit status 1 when the library
// would refuse the skin.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "common/bmp.h"
#include "common/library.h"
#include "face/face.h"
#include "skin/pieces.h"
#include "skin/reasons.h"
#include "skin/skin_reader.h"
#include "slip/slip_control.h"

namespace {

int Channel(DWORD colour, int shift) { return colour >> shift & 0xFF; }

// The largest difference of one channel between two colours.
int Step(DWORD a, DWORD b)
{
    int most = 0;
    for (int shift : {0, 8, 16})
        most = std::max(most, std::abs(Channel(a, shift) - Channel(b, shift)));
    return most;
}

// Where band, drawn at times its 1x size in bmp, meets its own copy: its last line beside
// its first, over the lines it runs across.
void ReportSeam(const char* file, const RepeatedBand& band, int times, const Bmp& bmp)
{
    const int first = times * band.start, last = times * (band.start + band.length) - 1;
    const int across = band.vertical ? bmp.width : bmp.height;
    const int from = times * band.firstLine, to = band.endLine ? times * band.endLine : across;
    int most = 0, where = from;
    for (int line = from; line < to && line < across; ++line) {
        const DWORD a = band.vertical ? BmpPixel(bmp, line, last) : BmpPixel(bmp, last, line);
        const DWORD b = band.vertical ? BmpPixel(bmp, line, first) : BmpPixel(bmp, first, line);
        if (Step(a, b) > most) {
            most = Step(a, b);
            where = line;
        }
    }
    const char* const along = band.vertical ? "row" : "column";
    std::printf("%s: %s %d meets %s %d of its copy: largest step %d of 255", file, along, last, along, first, most);
    if (most)
        std::printf(", in %s %d", band.vertical ? "column" : "row", where);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: veltra_skin_check DIR\n", stderr);
        return 2;
    }
    Library.ModuleHandle = GetModuleHandleA(nullptr);
    static char reason[1 << 16];
    Reasons reasons(reason, sizeof reason);
    const std::unique_ptr<Skin> skin = ReadSkin(argv[1], reasons);
    reasons.Finish();
    if (!skin) {
        std::fputs(reason, stdout);
        return 1;
    }
    std::printf("%s: a skin the library takes, %d pieces\n", argv[1], skin->count);
    RepeatedBand bands[32];
    const int count = FaceBands(bands, 31);
    bands[count] = SeekTrackBand();
    for (int i = 0; i <= count; ++i)
        for (bool doubled : {false, true}) {
            const SkinPiece* piece = skin->Find(bands[i].id, doubled);
            Bmp bmp;
            if (!piece || ReadBmp(piece->bytes.get(), piece->size, bmp) != BmpFault::None)
                continue;
            for (const ArtPiece& art : ArtPieces)
                if (art.id == bands[i].id) {
                    const std::string file = std::string(art.name) + (doubled ? "@2x.bmp" : ".bmp");
                    ReportSeam(file.c_str(), bands[i], doubled ? 2 : 1, bmp);
                    break;
                }
        }
    return 0;
}
