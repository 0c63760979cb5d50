// Skins as a host loads them: a folder of bitmaps and colours, refused whole with every
// reason, or shown exactly as a library built with that art shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/host/host.h"
#include "tests/support/image.h"
#include "tests/support/ledger.h"

namespace {

// The bytes of a 24-bit bottom-up bitmap, for the cases to spoil.
std::vector<BYTE> Bitmap24(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> bytes(54 + static_cast<size_t>(stride) * height, 0x40);
    const BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(bytes.size()), 0, 0, 54};
    const BITMAPINFOHEADER info = {40, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    return bytes;
}

void Put(const std::string& name, const std::vector<BYTE>& bytes)
{
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void PutText(const std::string& name, const char* text)
{
    std::ofstream(name, std::ios::binary) << text;
}

// A 24-bit thumb (slip_116, 18 x 19) with one header value of the info header changed.
std::vector<BYTE> Thumb(size_t offset, DWORD value)
{
    std::vector<BYTE> bytes = Bitmap24(18, 19);
    std::memcpy(bytes.data() + offset, &value, offset == 28 ? 2 : 4);
    return bytes;
}

struct BrokenSkin {
    const char* name;
    void (*make)();       // in the current folder, which is the skin's
    const char* reasons;  // the lines of the reason, or its first line followed by "..."
};

const BrokenSkin BrokenSkins[] = {
    {"Misspelt", [] { Put("buton_112.bmp", Bitmap24(135, 20)); },
     "buton_112.bmp is no piece of the art; did you mean button_112.bmp?\n"},
    {"WrongSize", [] { Put("button_111.bmp", Bitmap24(136, 20)); },
     "button_111.bmp is 136 x 20; it should be 135 x 20, three frames of 45 x 20\n"},
    {"DoubleAlone", [] { Put("slip_116@2x.bmp", Bitmap24(36, 38)); },
     "slip_116@2x.bmp has no slip_116.bmp beside it: a skin gives a piece at 1x first\n"},
    {"Compressed", [] { Put("slip_116.bmp", Thumb(30, BI_RLE8)); }, "slip_116.bmp is compressed; save it uncompressed\n"},
    {"Jpeg", [] { Put("slip_116.bmp", Thumb(30, BI_JPEG)); },
     "slip_116.bmp holds a JPEG picture; save it as a plain bitmap\n"},
    {"Png", [] { Put("slip_116.bmp", Thumb(30, BI_PNG)); }, "slip_116.bmp holds a PNG picture; save it as a plain bitmap\n"},
    {"SixteenBits", [] { Put("slip_116.bmp", Thumb(28, 16)); },
     "slip_116.bmp has 16 bits per pixel; save it with 1, 4, 8, 24 or 32\n"},
    {"NoWidth", [] { Put("slip_116.bmp", Thumb(18, 0)); }, "slip_116.bmp says it has no pixels, or more than memory holds\n"},
    {"NegativeWidth", [] { Put("slip_116.bmp", Thumb(18, static_cast<DWORD>(-18))); },
     "slip_116.bmp says it has no pixels, or more than memory holds\n"},
    {"Overflowing", [] { Put("slip_116.bmp", Thumb(22, 0x40000000)); },
     "slip_116.bmp says it has no pixels, or more than memory holds\n"},
    {"Cut", [] { std::vector<BYTE> b = Bitmap24(18, 19); b.resize(b.size() - 1); Put("slip_116.bmp", b); },
     "slip_116.bmp ends before its last pixels: the file is cut short\n"},
    {"Taller", [] { Put("slip_116.bmp", Thumb(22, 1000)); }, "slip_116.bmp ends before its last pixels: the file is cut short\n"},
    {"Palette", [] { std::vector<BYTE> b = Thumb(28, 8); std::memcpy(&b[46], "\x2C\x01\0\0", 4); Put("slip_116.bmp", b); },
     "slip_116.bmp has a palette larger than its bits per pixel allow, or past its pixels\n"},
    {"Header", [] { Put("slip_116.bmp", Thumb(14, 52)); }, "slip_116.bmp has a header no bitmap has\n"},
    {"Text", [] { PutText("slip_116.bmp", "a thumb, drawn later"); }, "slip_116.bmp is no bitmap file\n"},
    {"Crowded", [] {
         for (int i = 0; i <= 1000; ++i)
             PutText("note" + std::to_string(i) + ".txt", "");
     }, "skin holds more than 1000 files; a skin is its pieces and skin.ini\n"},
    {"Enormous", [] {
         const HANDLE file = CreateFileA("face_top.bmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
         SetFilePointer(file, 65 << 20, nullptr, FILE_BEGIN);
         SetEndOfFile(file);
         CloseHandle(file);
     }, "face_top.bmp is larger than 64 MB\n"},
    {"IniTypo", [] { PutText("skin.ini", "; daylight\r\nbackgrund = #112233\r\n"); },
     "skin.ini line 2: backgrund is no colour a skin sets; did you mean background?\n"},
    {"IniValue", [] { PutText("skin.ini", "background = #12345\n"); },
     "skin.ini line 1: #12345 is no colour; write background = #RRGGBB\n"},
    {"IniTwice", [] { PutText("skin.ini", "label_text = #000000\n\nLabel_Text = #101010\n"); },
     "skin.ini line 3: label_text is set twice, first on line 1\n"},
    {"IniNoValue", [] { PutText("skin.ini", "slip_value #112233\n"); },
     "skin.ini line 1 is not \"name = #RRGGBB\": slip_value #112233\n"},
    // Good files beside bad ones: every problem, in the order a designer reads the table.
    {"Mixed", [] {
         Put("face_top.bmp", Bitmap24(1024, 15));
         Put("slip_117.bmp", Bitmap24(640, 20));
         Put("button_106.bmp", Bitmap24(138, 40));
         Put("query_165.bmp", Bitmap24(585, 14));
         PutText("skin.ini", "accent_1 = #ff0000\naccent_4 = #00ff00\n");
         Put("slip_116.bmp", Thumb(30, BI_PNG));
         PutText("notes.txt", "not read");
         Put("buttons.bmp", Bitmap24(4, 4));
     },
     "buttons.bmp is no piece of the art\n"
     "skin.ini line 2: accent_4 is no colour a skin sets; did you mean accent_1?\n"
     "button_106.bmp is 138 x 40; it should be 138 x 46, three frames of 46 x 46\n"
     "slip_116.bmp holds a PNG picture; save it as a plain bitmap\n"
     "slip_117.bmp is 640 x 20; it should be 646 x 20\n"},
};

class Skins : public ::testing::TestWithParam<BrokenSkin> {};

// What a host sees of the library: the face, the level bars and the answers that a skin may
// change.
std::vector<uint32_t> Seen(const Veltra& veltra, SIZE screen = Screen())
{
    Canvas canvas(screen.cx, screen.cy, 0);
    veltra.DrawFace(canvas.dc());
    std::vector<uint32_t> seen = canvas.Read().pixels;
    INT32 bars[4] = {};
    veltra.GetObjectRect(21, bars);
    for (INT32 bar : bars) {
        const HBITMAP bitmap = reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(bar));
        const Image image = ReadBitmap(bitmap);
        seen.insert(seen.end(), image.pixels.begin(), image.pixels.end());
        DeleteObject(bitmap);
    }
    RECT inner;
    COLORREF colour;
    veltra.GetBgkColorSize(&inner, &colour);
    seen.push_back(colour);
    for (int code : {10, 13, 14}) {
        INT32 values[4] = {};
        veltra.GetObjectRect(code, values);
        seen.insert(seen.end(), values, values + 4);
    }
    return seen;
}

}  // namespace

// Refused with its reason, whole; nothing changes and nothing is left behind, on the page heap.
TEST_P(Skins, ABrokenSkinIsRefusedWithItsReasons)
{
    ScratchFolder folder;
    CreateDirectoryA("skin", nullptr);
    SetCurrentDirectoryA("skin");
    GetParam().make();
    SetCurrentDirectoryA("..");
    Veltra veltra;
    const std::vector<uint32_t> before = Seen(veltra);
    Ledger ledger(veltra.module, Ledger::Heap::Pages);
    char reason[1024];
    EXPECT_EQ(veltra.LoadSkin("skin", reason, sizeof reason), 0);
    EXPECT_EQ(std::string(reason), GetParam().reasons);
    EXPECT_EQ(ledger.Alive(), std::vector<std::string>{});
    EXPECT_EQ(ledger.Faults(), std::vector<std::string>{});
    EXPECT_TRUE(Seen(veltra) == before);
}

INSTANTIATE_TEST_SUITE_P(Each, Skins, ::testing::ValuesIn(BrokenSkins),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SkinFolder, NoFolderNoFileAndAReasonThatNeverOverruns)
{
    ScratchFolder folder;
    Veltra veltra;
    char reason[64];
    EXPECT_EQ(veltra.LoadSkin("missing", reason, sizeof reason), 0);
    EXPECT_STREQ(reason, "missing does not exist\n");
    PutText("file", "");
    EXPECT_EQ(veltra.LoadSkin("file", reason, sizeof reason), 0);
    EXPECT_STREQ(reason, "file is a file, not a folder\n");
    // Three problems in 52 characters: what fits, then the count of the rest; never past. In
    // 48 the count takes the first line's place.
    CreateDirectoryA("skin", nullptr);
    PutText("skin\\a.bmp", "");
    PutText("skin\\slip_116.bmp", "");
    Put("skin\\button_111.bmp", Bitmap24(136, 20));
    for (const auto& [size, shown] : {std::pair{52, "a.bmp is no piece of the art\nand 2 more problems"},
                                      {48, "and 3 more problems"}}) {
        char guarded[52 + 8];
        std::memset(guarded, '#', sizeof guarded);
        EXPECT_EQ(veltra.LoadSkin("skin", guarded, size), 0);
        EXPECT_STREQ(guarded, shown);
        EXPECT_EQ(std::string(guarded + size, 8), std::string(8, '#'));
    }
    EXPECT_EQ(veltra.LoadSkin("skin", nullptr, 0), 0);
}

// The oracle: VeltraDistinctFace.dll is the library built over the art of the folder beside
// it (the face, a button strip at 1x only, a thumb, two level bars, in every flavour of the
// format). Loaded as a skin into the
// library, live, after its controls exist, the face, every control and the queries' bitmaps
// show what that library shows, at scale 1 and 2; the skin stays in force through later fits
// and scales; and a null skin gives the built-in art back.
TEST(SkinsShown, ASkinShowsWhatALibraryBuiltWithItsArtShows)
{
    const std::string skin = LibraryPath("distinct_skin");
    for (const auto& [size, scale] : {std::pair{SIZE{1024, 768}, 1}, {SIZE{2048, 1536}, 2}}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        std::vector<RECT> places, builtPlaces;
        const std::vector<Image> shown = ControlsShown(LibraryFile, size, scale, skin.c_str(), places);
        const std::vector<Image> built = ControlsShown(DistinctFaceFile, size, scale, nullptr, builtPlaces);
        EXPECT_EQ(places, builtPlaces);
        for (size_t i = 0; i < shown.size(); ++i)
            EXPECT_EQ(FirstDifference(shown[i], built[i]), "") << "control " << i;
    }
    // The skin stays in force through later fits and scales.
    Veltra skinned, distinct(DistinctFaceFile);
    const std::vector<uint32_t> builtIn = Seen(skinned);
    ASSERT_TRUE(skinned.LoadSkin(skin.c_str(), nullptr, 0));
    for (const auto& [size, scale] : {std::pair{SIZE{2048, 1536}, 2}, {SIZE{1280, 800}, 1}, {Screen(), 1}}) {
        ASSERT_EQ(skinned.FitScreenScaled(size.cx, size.cy, scale), scale);
        ASSERT_EQ(distinct.FitScreenScaled(size.cx, size.cy, scale), scale);
        EXPECT_TRUE(Seen(skinned, size) == Seen(distinct, size)) << size.cx << " at " << scale;
    }
    // Rows from the top show as rows from the bottom do.
    ASSERT_TRUE(skinned.LoadSkin((skin + "\\top_down").c_str(), nullptr, 0));
    EXPECT_TRUE(Seen(skinned) == Seen(distinct));
    ASSERT_TRUE(skinned.LoadSkin(nullptr, nullptr, 0));
    EXPECT_TRUE(Seen(skinned) == builtIn);
}

// skin.ini's colours are handed out and used by default; a colour the host set stays its own.
TEST(SkinColours, AreHandedOutAndUsedWhereTheHostSetNone)
{
    ScratchFolder folder;
    CreateDirectoryA("skin", nullptr);
    PutText("skin\\skin.ini", "background = #010203\ndisplay_back = #040506\ndisplay_text = #070809\n"
                              "display_dim = #0a0b0c\ntext_light = #0d0e0f\ntext_alert = #101112\n"
                              "text_muted = #131415\ntext_muted2 = #161718\naccent_1 = #191a1b\n"
                              "accent_2 = #1c1d1e\naccent_3 = #1f2021\nlabel_text = #ff2324\n"
                              "slip_value = #25ff27\nbutton_dot = #2829ff\n");
    Veltra veltra;
    HostWindow host(&veltra);
    ILableControl *label = nullptr, *ownLabel = nullptr;
    ISlipControl *slip = nullptr, *ownSlip = nullptr;
    IColorButtom* button = nullptr;
    veltra.FactroyLableControl(&label, 0, host);
    veltra.FactroyLableControl(&ownLabel, 1, host);
    veltra.FactroySlipControl(&slip, 1, host, nullptr, 0);
    veltra.FactroySlipControl(&ownSlip, 10, host, nullptr, 0);
    veltra.FactroyColorButtom(&button, 2, host, nullptr, 0);
    ASSERT_TRUE(label && ownLabel && slip && ownSlip && button);
    ownLabel->SetForeColor(RGB(1, 1, 1));
    ownSlip->SetValueColor(RGB(1, 1, 1));
    for (ISlipControl* s : {slip, ownSlip})
        s->ShowValue(TRUE);
    for (ILableControl* l : {label, ownLabel})
        l->SetText("888");
    button->SetDot(TRUE);
    ASSERT_TRUE(veltra.LoadSkin("skin", nullptr, 0));
    Pump(0);
    COLORREF background = 0;
    veltra.GetBgkColorSize(nullptr, &background);
    EXPECT_EQ(background, RGB(1, 2, 3));
    std::vector<INT32> colours;
    for (int code : {10, 13, 14}) {
        INT32 values[4] = {};
        veltra.GetObjectRect(code, values);
        colours.insert(colours.end(), values, values + (code == 13 ? 4 : 3));
    }
    EXPECT_EQ(colours, (std::vector<INT32>{0x060504, 0x090807, 0x0c0b0a, 0x0f0e0d, 0x121110, 0x151413, 0x181716,
                                           0x1b1a19, 0x1e1d1c, 0x21201f}));
    const auto shows = [](const void* control, uint32_t pixel) {
        const Image image = Capture(WindowOf(control));
        return std::find(image.pixels.begin(), image.pixels.end(), pixel) != image.pixels.end();
    };
    EXPECT_TRUE(shows(label, 0xff2324));
    EXPECT_FALSE(shows(ownLabel, 0xff2324));
    EXPECT_TRUE(shows(slip, 0x25ff27));
    EXPECT_FALSE(shows(ownSlip, 0x25ff27));
    EXPECT_TRUE(shows(button, 0x2829ff));
    for (ILableControl* l : {label, ownLabel})
        l->Destroy();
    for (ISlipControl* s : {slip, ownSlip})
        s->Destroy();
    button->Destroy();
}
