#include "skin/pieces.h"

#include "common/library.h"

namespace {

constexpr LANGID English = 1033, Simplified = 2052, Traditional = 1028;

#define WORDED(id) {"button_" #id "_1028", id, Traditional, 3}, {"button_" #id "_1033", id, English, 3}, \
                   {"button_" #id "_2052", id, Simplified, 3}
#define BUTTON(id) {"button_" #id, id, 0, 3}
#define QUERY(id) {"query_" #id, id, 0, 1}
#define SLIP(id) {"slip_" #id, id, 0, 1}

}  // namespace

const ArtPiece ArtPieces[ArtPieceCount] = {
    {"face_top", IdFaceTop, 0, 1}, {"face_left", IdFaceLeft, 0, 1}, {"face_right", IdFaceRight, 0, 1},
    {"face_bottom", IdFaceBottom, 0, 1},
    BUTTON(106), BUTTON(108), BUTTON(109), BUTTON(110), BUTTON(111), BUTTON(112), BUTTON(113), BUTTON(114),
    BUTTON(115), WORDED(121), WORDED(133), BUTTON(134), BUTTON(135), BUTTON(136), BUTTON(137), WORDED(138),
    BUTTON(139), BUTTON(140), BUTTON(141), BUTTON(142), BUTTON(145), BUTTON(148), BUTTON(151), BUTTON(152),
    WORDED(155), BUTTON(159), BUTTON(160), BUTTON(163), BUTTON(164), BUTTON(172), BUTTON(176), BUTTON(177),
    QUERY(161), QUERY(162), QUERY(165), QUERY(166), QUERY(167), QUERY(168), QUERY(169), QUERY(173),
    SLIP(116), SLIP(117), SLIP(118), SLIP(119), SLIP(170), SLIP(171), SLIP(174), SLIP(175),
};

#undef WORDED
#undef BUTTON
#undef QUERY
#undef SLIP

namespace {

HRSRC Resource(const ArtPiece& piece)
{
    const HMODULE module = Library.ModuleHandle;
    return piece.language ? FindResourceExA(module, RT_BITMAP, MAKEINTRESOURCEA(piece.id), piece.language)
                          : FindResourceA(module, MAKEINTRESOURCEA(piece.id), RT_BITMAP);
}

}  // namespace

SIZE BuiltInSize(const ArtPiece& piece)
{
    const HRSRC found = Resource(piece);
    const auto* header = found ? static_cast<const BITMAPINFOHEADER*>(
                                     LockResource(LoadResource(Library.ModuleHandle, found)))
                               : nullptr;
    if (!header || SizeofResource(Library.ModuleHandle, found) < sizeof *header)
        return SIZE{};
    return SIZE{header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight};
}

bool LanguageInUse(const ArtPiece& piece)
{
    return !piece.language ||
           Resource(piece) == FindResourceA(Library.ModuleHandle, MAKEINTRESOURCEA(piece.id), RT_BITMAP);
}
