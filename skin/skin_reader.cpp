#include "skin/skin_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <new>
#include <utility>

#include "common/bmp.h"
#include "common/file.h"
#include "face/colours.h"
#include "skin/pieces.h"

namespace {

constexpr DWORD MostNames = 1000;              // a folder listed further is no skin
constexpr LONGLONG MostPieceBytes = 64LL << 20;
constexpr LONGLONG MostIniBytes = 64 << 10;
constexpr int MostSuggestions = 50;            // unknown names compared with every piece's
const char IniName[] = "skin.ini";

// The keys of skin.ini, in the order of SkinColour.
const char* const ColourKeys[SkinColourCount] = {
    "background", "display_back", "display_text", "display_dim", "text_light", "text_alert", "text_muted",
    "text_muted2", "accent_1", "accent_2", "accent_3", "label_text", "slip_value", "button_dot",
};

// The bytes of one file, read whole.
struct FileBytes {
    std::unique_ptr<BYTE[]> bytes;
    size_t size = 0;
};

// FindFirstFile ... FindClose.
class Listing {
public:
    Listing(const char* pattern, WIN32_FIND_DATAA& found) : handle_(FindFirstFileA(pattern, &found)) {}
    ~Listing()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    bool Any() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& found) const { return FindNextFileA(handle_, &found) != FALSE; }

private:
    HANDLE handle_;
};

// The folder's path joined to name; false when it does not fit.
bool Join(char (&path)[MAX_PATH], const char* folder, const char* name)
{
    const int length = std::snprintf(path, sizeof path, "%s\\%s", folder, name);
    return length > 0 && length < static_cast<int>(sizeof path);
}

// Reads name in folder whole, when it is no larger than most; false with the reason added.
bool ReadWhole(const char* folder, const char* name, LONGLONG most, const char* limit, FileBytes& read,
               Reasons& reasons)
{
    char path[MAX_PATH];
    if (!Join(path, folder, name)) {
        reasons.Add("%s: the folder's path is too long", name);
        return false;
    }
    ReadOnlyFile file(path);
    const LONGLONG size = file.Size();
    if (size < 0) {
        reasons.Add("%s cannot be opened", name);
        return false;
    }
    if (size > most) {
        reasons.Add("%s is larger than %s", name, limit);
        return false;
    }
    read.size = static_cast<size_t>(size);
    read.bytes.reset(new (std::nothrow) BYTE[read.size ? read.size : 1]);
    if (!read.bytes) {
        reasons.Add("%s: memory ran out reading it", name);
        return false;
    }
    if (!file.Read(read.bytes.get(), static_cast<DWORD>(read.size))) {
        reasons.Add("%s cannot be read", name);
        return false;
    }
    return true;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// How many single-character edits turn a into b, ignoring case.
int EditDistance(const char* a, const char* b)
{
    const size_t n = std::strlen(b);
    if (n >= MAX_PATH)
        return MAX_PATH;
    int row[MAX_PATH];
    for (size_t j = 0; j <= n; ++j)
        row[j] = static_cast<int>(j);
    for (size_t i = 1; a[i - 1]; ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (size_t j = 1; j <= n; ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[n];
}

// The file name of piece, 1x or 2x.
void PieceFile(const ArtPiece& piece, bool doubled, char (&name)[MAX_PATH])
{
    std::snprintf(name, sizeof name, "%s%s.bmp", piece.name, doubled ? "@2x" : "");
}

// Names compared as the file system compares them, ignoring case; the art's are ASCII.
bool SameName(const char* a, const char* b)
{
    for (; *a && Lower(*a) == Lower(*b); ++a, ++b) {
    }
    return Lower(*a) == Lower(*b);
}

bool EndsWith(const char* name, const char* end)
{
    const size_t length = std::strlen(name), tail = std::strlen(end);
    return length >= tail && SameName(name + length - tail, end);
}

// What a folder holds of a skin, by name.
struct Found {
    bool ini = false;
    bool pieces[2][ArtPieceCount] = {};  // 1x, 2x
    int unknown = 0;  // bitmaps that are no piece
};

// Notes one name of the listing. A bitmap that is no piece is a problem, with the piece a
// designer most likely meant when one is a few edits away.
void Note(const char* name, Found& found, Reasons& reasons)
{
    if (SameName(name, IniName)) {
        found.ini = true;
        return;
    }
    char file[MAX_PATH], closest[MAX_PATH] = "";
    int fewest = 3;  // more edits than two suggest nothing
    for (size_t i = 0; i < ArtPieceCount; ++i)
        for (bool doubled : {false, true}) {
            PieceFile(ArtPieces[i], doubled, file);
            if (SameName(name, file)) {
                found.pieces[doubled][i] = true;
                return;
            }
        }
    if (!EndsWith(name, ".bmp"))
        return;  // notes, previews: nothing the library reads
    if (found.unknown++ < MostSuggestions)
        for (size_t i = 0; i < ArtPieceCount; ++i)
            for (bool doubled : {false, true}) {
                PieceFile(ArtPieces[i], doubled, file);
                const int edits = EditDistance(name, file);
                if (edits < fewest) {
                    fewest = edits;
                    std::memcpy(closest, file, sizeof file);
                }
            }
    if (*closest)
        reasons.Add("%s is no piece of the art; did you mean %s?", name, closest);
    else
        reasons.Add("%s is no piece of the art", name);
}

// Lists the folder's names, at most MostNames of them; false when it is no folder.
bool List(const char* folder, Found& found, Reasons& reasons)
{
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        reasons.Add("%s does not exist", folder);
        return false;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reasons.Add("%s is a file, not a folder", folder);
        return false;
    }
    char pattern[MAX_PATH];
    WIN32_FIND_DATAA entry;
    if (!Join(pattern, folder, "*")) {
        reasons.Add("%s: the folder's path is too long", folder);
        return false;
    }
    const Listing listing(pattern, entry);
    if (!listing.Any() && GetLastError() != ERROR_FILE_NOT_FOUND) {
        reasons.Add("%s cannot be listed", folder);
        return false;
    }
    DWORD names = 0;
    for (bool more = listing.Any(); more; more = listing.Next(entry)) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (++names > MostNames) {
            reasons.Add("%s holds more than %lu files; a skin is its pieces and skin.ini", folder,
                        static_cast<unsigned long>(MostNames));
            break;
        }
        Note(entry.cFileName, found, reasons);
    }
    return true;
}

// A line of skin.ini for a reason: printable, and short.
void Shown(const char* text, size_t length, char (&shown)[48])
{
    size_t i = 0;
    for (; i < length && i + 1 < sizeof shown; ++i)
        shown[i] = text[i] >= ' ' && text[i] <= '~' ? text[i] : '?';
    shown[i] = '\0';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// #RRGGBB exactly, as a COLORREF; false for anything else.
bool ParseColour(const char* text, size_t length, COLORREF& colour)
{
    if (length != 7 || text[0] != '#')
        return false;
    int channels[3];
    for (int c = 0; c < 3; ++c) {
        const int high = HexDigit(text[1 + 2 * c]), low = HexDigit(text[2 + 2 * c]);
        if (high < 0 || low < 0)
            return false;
        channels[c] = high * 16 + low;
    }
    colour = RGB(channels[0], channels[1], channels[2]);
    return true;
}

// Trims blanks from both ends of [begin, end).
void Trim(const char*& begin, const char*& end)
{
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r'))
        --end;
}

// Reads skin.ini's colours over colours: `key = #RRGGBB` lines, blank lines and comments
// (';' or '#'). An unknown key, a malformed value or a key given twice is a problem: a typo
// must never quietly do nothing.
void ReadColours(const FileBytes& ini, COLORREF (&colours)[SkinColourCount], Reasons& reasons)
{
    int setOn[SkinColourCount] = {};  // the line that set each key, 0 for none
    const char* text = reinterpret_cast<const char*>(ini.bytes.get());
    const char* const end = text + ini.size;
    if (ini.size >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0)
        text += 3;  // a byte-order mark, as editors write UTF-8
    char shown[48];
    for (int number = 1; text < end; ++number) {
        const char* lineEnd = static_cast<const char*>(std::memchr(text, '\n', static_cast<size_t>(end - text)));
        if (!lineEnd)
            lineEnd = end;
        const char* begin = text;
        const char* stop = lineEnd;
        text = lineEnd + 1;
        Trim(begin, stop);
        if (begin == stop || *begin == ';' || *begin == '#')
            continue;
        const char* equals = static_cast<const char*>(std::memchr(begin, '=', static_cast<size_t>(stop - begin)));
        if (!equals) {
            Shown(begin, static_cast<size_t>(stop - begin), shown);
            reasons.Add("skin.ini line %d is not \"name = #RRGGBB\": %s", number, shown);
            continue;
        }
        const char* keyEnd = equals;
        const char* value = equals + 1;
        Trim(begin, keyEnd);
        Trim(value, stop);
        Shown(begin, static_cast<size_t>(keyEnd - begin), shown);
        int key = 0, fewest = 3;
        const char* closest = nullptr;
        for (; key < SkinColourCount; ++key) {
            if (static_cast<size_t>(keyEnd - begin) == std::strlen(ColourKeys[key]) &&
                _strnicmp(begin, ColourKeys[key], static_cast<size_t>(keyEnd - begin)) == 0)
                break;
            const int edits = EditDistance(shown, ColourKeys[key]);
            if (edits < fewest) {
                fewest = edits;
                closest = ColourKeys[key];
            }
        }
        if (key == SkinColourCount) {
            if (closest)
                reasons.Add("skin.ini line %d: %s is no colour a skin sets; did you mean %s?", number, shown, closest);
            else
                reasons.Add("skin.ini line %d: %s is no colour a skin sets", number, shown);
            continue;
        }
        if (setOn[key]) {
            reasons.Add("skin.ini line %d: %s is set twice, first on line %d", number, ColourKeys[key], setOn[key]);
            continue;
        }
        setOn[key] = number;
        if (!ParseColour(value, static_cast<size_t>(stop - value), colours[key])) {
            Shown(value, static_cast<size_t>(stop - value), shown);
            reasons.Add("skin.ini line %d: %s is no colour; write %s = #RRGGBB", number, shown, ColourKeys[key]);
        }
    }
}

const char* const Multiples[] = {"", "", "two", "three", "four"};

// Checks one piece's bytes; false with the reason added.
bool CheckPiece(const char* name, const FileBytes& file, SIZE expected, int frames, Reasons& reasons)
{
    Bmp bmp;
    switch (ReadBmp(file.bytes.get(), file.size, bmp)) {
    case BmpFault::None: break;
    case BmpFault::NotBitmap: reasons.Add("%s is no bitmap file", name); return false;
    case BmpFault::Header: reasons.Add("%s has a header no bitmap has", name); return false;
    case BmpFault::Jpeg: reasons.Add("%s holds a JPEG picture; save it as a plain bitmap", name); return false;
    case BmpFault::Png: reasons.Add("%s holds a PNG picture; save it as a plain bitmap", name); return false;
    case BmpFault::Compressed: reasons.Add("%s is compressed; save it uncompressed", name); return false;
    case BmpFault::Depth:
        reasons.Add("%s has %u bits per pixel; save it with 1, 4, 8, 24 or 32", name, bmp.bits);
        return false;
    case BmpFault::Dimensions:
        reasons.Add("%s says it has no pixels, or more than memory holds", name);
        return false;
    case BmpFault::Palette:
        reasons.Add("%s has a palette larger than its bits per pixel allow, or past its pixels", name);
        return false;
    case BmpFault::Truncated: reasons.Add("%s ends before its last pixels: the file is cut short", name); return false;
    }
    if (bmp.width == expected.cx && bmp.height == expected.cy)
        return true;
    if (frames > 1 && frames < static_cast<int>(std::size(Multiples)))
        reasons.Add("%s is %ld x %ld; it should be %ld x %ld, %s frames of %ld x %ld", name, bmp.width, bmp.height,
                    expected.cx, expected.cy, Multiples[frames], expected.cx / frames, expected.cy);
    else
        reasons.Add("%s is %ld x %ld; it should be %ld x %ld", name, bmp.width, bmp.height, expected.cx, expected.cy);
    return false;
}

}  // namespace

std::unique_ptr<Skin> ReadSkin(const char* folder, Reasons& reasons)
{
    Found found;
    if (!List(folder, found, reasons))
        return nullptr;
    std::unique_ptr<Skin> skin(new (std::nothrow) Skin);
    std::unique_ptr<SkinPiece[]> pieces(new (std::nothrow) SkinPiece[2 * ArtPieceCount]);
    if (!skin || !pieces) {
        reasons.Add("%s: memory ran out", folder);
        return nullptr;
    }
    std::copy(std::begin(BuiltInColours), std::end(BuiltInColours), skin->colours);
    if (found.ini) {
        FileBytes ini;
        if (ReadWhole(folder, IniName, MostIniBytes, "64 KB", ini, reasons))
            ReadColours(ini, skin->colours, reasons);
    }
    int count = 0;
    for (size_t i = 0; i < ArtPieceCount; ++i) {
        const ArtPiece& piece = ArtPieces[i];
        const SIZE size = BuiltInSize(piece);
        for (bool doubled : {false, true}) {
            if (!found.pieces[doubled][i])
                continue;
            char name[MAX_PATH];
            PieceFile(piece, doubled, name);
            if (doubled && !found.pieces[0][i]) {
                reasons.Add("%s has no %s.bmp beside it: a skin gives a piece at 1x first", name, piece.name);
                continue;
            }
            FileBytes file;
            const int times = doubled ? 2 : 1;
            if (!ReadWhole(folder, name, MostPieceBytes, "64 MB", file, reasons) ||
                !CheckPiece(name, file, SIZE{times * size.cx, times * size.cy}, piece.frames, reasons))
                continue;
            // Of the worded buttons only the language the built-in art is shown in counts.
            if (LanguageInUse(piece))
                pieces[count++] = SkinPiece{piece.id, doubled, std::move(file.bytes), file.size};
        }
    }
    if (reasons.Any())
        return nullptr;
    skin->pieces = std::move(pieces);
    skin->count = count;
    return skin;
}
