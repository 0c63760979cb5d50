// What a careless or hostile host may hand the exports and the slots: null pointers,
// unknown codes, extreme numbers, huge texts, a refused allocation. Each has the result
// the header documents, and nothing is left behind.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "tests/host/library_test.h"
#include "tests/reliability/drive.h"

namespace {

void WINAPI IgnoreButton(int, int, WPARAM, INT_PTR) {}
void WINAPI IgnoreSlip(int, INT_PTR, int) {}

// The codes each factory knows, as the header lists them.
std::set<UINT> KnownButtonCodes()
{
    std::set<UINT> codes;
    for (UINT code = 0; code <= 31; ++code)
        codes.insert(code);
    for (UINT code = 200; code <= 207; ++code)
        codes.insert(code);
    codes.insert({300, 301});
    return codes;
}
const std::set<UINT> KnownLabelCodes = {0, 1, 2, 3, 4, 5};
const std::set<UINT> KnownSlipCodes = {0, 1, 10};
const std::set<int> KnownQueryCodes = {0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 20, 21};

// Every code up to 1023, and the extremes of both readings of 32 bits.
std::vector<UINT> CodesToTry()
{
    std::vector<UINT> codes;
    for (UINT code = 0; code < 1024; ++code)
        codes.push_back(code);
    for (UINT code : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu})
        codes.push_back(code);
    return codes;
}

class Hostile : public LibraryTest {
protected:
    ISlipControl* Slip(UINT code = 0)
    {
        ISlipControl* slip = nullptr;
        veltra->FactroySlipControl(&slip, code, *host, IgnoreSlip, 0);
        if (slip)
            slips_.push_back(slip);
        return slip;
    }

    ILableControl* Label()
    {
        ILableControl* label = nullptr;
        veltra->FactroyLableControl(&label, 0, *host);
        if (label) {
            labels_.push_back(label);
            MoveWindow(WindowOf(label), 100, 100, 200, 30, TRUE);
        }
        return label;
    }

    void DestroyControls() override
    {
        for (ISlipControl* slip : slips_)
            slip->Destroy();
        for (ILableControl* label : labels_)
            label->Destroy();
        slips_.clear();
        labels_.clear();
    }

private:
    std::vector<ISlipControl*> slips_;
    std::vector<ILableControl*> labels_;
};

}  // namespace

TEST_F(Hostile, FactoriesMakeExactlyTheKnownCodesAndNothingForTheRest)
{
    std::set<UINT> buttons, labels, slips;
    for (UINT code : CodesToTry()) {
        IColorButtom* button = nullptr;
        veltra->FactroyColorButtom(&button, code, *host, IgnoreButton, 0);
        if (button) {
            buttons.insert(code);
            button->Destroy();
        }
        ILableControl* label = nullptr;
        veltra->FactroyLableControl(&label, code, *host);
        if (label) {
            labels.insert(code);
            label->Destroy();
        }
        ISlipControl* slip = nullptr;
        veltra->FactroySlipControl(&slip, code, *host, IgnoreSlip, 0);
        if (slip) {
            slips.insert(code);
            slip->Destroy();
        }
    }
    EXPECT_EQ(buttons, KnownButtonCodes());
    EXPECT_EQ(labels, KnownLabelCodes);
    EXPECT_EQ(slips, KnownSlipCodes);
}

TEST_F(Hostile, QueriesAnswerExactlyTheKnownCodesAndWriteNothingElse)
{
    std::set<int> answered;
    for (UINT code : CodesToTry()) {
        const int query = static_cast<int>(code);
        INT32 out[4] = {7, 7, 7, 7};
        if (veltra->GetObjectRect(query, out))
            answered.insert(query);
        else
            EXPECT_EQ(std::vector<INT32>(out, out + 4), std::vector<INT32>(4, 7)) << query;
        for (int i = 0; i < 4; ++i)
            if (answered.count(query) && (query == 20 || query == 21))
                if (DeleteObject(reinterpret_cast<HGDIOBJ>(static_cast<INT_PTR>(out[i]))))
                    HostReleased(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(out[i])));
        EXPECT_EQ(veltra->GetObjectRect(query, nullptr), 0) << query;
    }
    EXPECT_EQ(answered, KnownQueryCodes);
}

TEST_F(Hostile, NullPointersGetTheDocumentedResults)
{
    for (UINT code : {0u, 2u, 10u}) {
        veltra->FactroyColorButtom(nullptr, code, *host, IgnoreButton, 0);
        veltra->FactroyLableControl(nullptr, code, *host);
        veltra->FactroySlipControl(nullptr, code, *host, IgnoreSlip, 0);
    }
    EXPECT_EQ(ledger->MadeCount(), 0);
    EXPECT_FALSE(veltra->DrawFace(nullptr));
    EXPECT_EQ(veltra->GetBgkColorSize(nullptr, nullptr), nullptr);
    EXPECT_FALSE(veltra->SetAccessibleName(nullptr, "nothing"));

    // No parent: a child window cannot be made, so neither is the control.
    IColorButtom* button = reinterpret_cast<IColorButtom*>(1);
    veltra->FactroyColorButtom(&button, 2, nullptr, IgnoreButton, 0);
    EXPECT_EQ(button, nullptr);
    ISlipControl* orphan = reinterpret_cast<ISlipControl*>(1);
    veltra->FactroySlipControl(&orphan, 0, nullptr, IgnoreSlip, 0);
    EXPECT_EQ(orphan, nullptr);

    // No callback: the events go nowhere.
    veltra->FactroyColorButtom(&button, 2, *host, nullptr, 0);
    ASSERT_TRUE(button);
    SendMessageA(WindowOf(button), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(WindowOf(button), WM_LBUTTONUP, 0, 0);
    button->SetHoverCursor(nullptr);
    SendMessageA(WindowOf(button), WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    button->Destroy();
    ISlipControl* slip = nullptr;
    veltra->FactroySlipControl(&slip, 1, *host, nullptr, 0);
    ASSERT_TRUE(slip);
    SendMessageA(WindowOf(slip), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    for (int x = 4; x < 40; ++x)
        SendMessageA(WindowOf(slip), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 3));
    SendMessageA(WindowOf(slip), WM_LBUTTONUP, 0, MAKELPARAM(40, 3));
    SendMessageA(WindowOf(slip), WM_RBUTTONUP, 0, 0);
    slip->Destroy();

    ILableControl* label = Label();
    ASSERT_TRUE(label);
    EXPECT_FALSE(label->Create(nullptr, 1, *host));
    EXPECT_FALSE(label->Attach(nullptr));
    EXPECT_TRUE(label->SetText(nullptr));
    EXPECT_EQ(label->GetText(), nullptr);
    label->SetFont(nullptr, 0);
    label->SetHoverCursor(nullptr);
    EXPECT_FALSE(SendMessageA(WindowOf(label), WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    PaintNow(WindowOf(label));
}

TEST_F(Hostile, ExtremeNumbersStayDefined)
{
    const int Extremes[] = {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX};
    ISlipControl* slip = Slip();
    ASSERT_TRUE(slip);
    for (int minimum : Extremes)
        for (int maximum : Extremes) {
            slip->SetRange(minimum, maximum);
            for (int value : Extremes) {
                slip->SetValue(static_cast<UINT>(value));
                slip->SetStartMarker(static_cast<UINT>(value));
                slip->SetEndMarker(static_cast<UINT>(~value));
                const int read = slip->GetValue();
                if (minimum <= maximum) {
                    EXPECT_TRUE(read >= minimum && read <= maximum)
                        << read << " outside " << minimum << ".." << maximum << " after " << value;
                }
                slip->GetStartMarker();
                slip->GetEndMarker();
            }
        }
    slip->ShowValue(TRUE);
    PaintNow(WindowOf(slip));

    IColorButtom* button = nullptr;
    veltra->FactroyColorButtom(&button, 2, *host, IgnoreButton, 0);
    ASSERT_TRUE(button);
    for (int value : Extremes) {
        button->SetState(value);
        EXPECT_GE(button->GetState(), VELTRA_FRAME_NORMAL);
        EXPECT_LE(button->GetState(), VELTRA_FRAME_PRESSED);
        button->MoveTo(value, value);
        PaintNow(WindowOf(button));
    }
    button->Destroy();

    ILableControl* label = Label();
    ASSERT_TRUE(label);
    label->SetText("Extremes");
    for (int value : Extremes) {
        label->SetTextAngle(value, value & 1);
        label->SetFont("Arial", value);
        label->SetFlags(static_cast<DWORD>(value), ~0u);
        label->SetHighlight(value, value);
        PaintNow(WindowOf(label));
    }
}

TEST_F(Hostile, AMegabyteOfTextAndAnOverlongFaceName)
{
    ILableControl* label = Label();
    ASSERT_TRUE(label);
    const std::string text(1 << 20, 'W');
    EXPECT_TRUE(label->SetText(text.c_str()));
    EXPECT_EQ(std::string(label->GetText()), text);
    PaintNow(WindowOf(label));
    label->SetTextAngle(45, TRUE);
    PaintNow(WindowOf(label));
    const std::string face(1 << 20, 'F');
    EXPECT_TRUE(label->SetFont(face.c_str(), 12));
    EXPECT_TRUE(veltra->SetAccessibleName(label, face.c_str()));
    PaintNow(WindowOf(label));
    label->SetText("");
    EXPECT_STREQ(label->GetText(), "");
}

TEST_F(Hostile, ALabelRefusedMemoryForItsTextSaysSo)
{
    ILableControl* label = Label();
    ASSERT_TRUE(label);
    ledger->FailCreation(1);
    EXPECT_FALSE(label->SetText("no room for this"));
    EXPECT_TRUE(ledger->Failed());
    EXPECT_EQ(label->GetText(), nullptr);
    PaintNow(WindowOf(label));
    EXPECT_TRUE(label->SetText("room again"));
    EXPECT_STREQ(label->GetText(), "room again");
    ledger->FailCreation(1);  // nor is a name taken without room for it
    EXPECT_FALSE(veltra->SetAccessibleName(label, "no room for this"));
    EXPECT_TRUE(ledger->Failed());
}
