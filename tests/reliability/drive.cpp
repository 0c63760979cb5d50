#include "tests/reliability/drive.h"

#include "tests/support/ledger.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

const UINT ButtonCodes[6] = {0, 2, 31, 200, 301, 9999};
const UINT LabelCodes[4] = {0, 3, 5, 6};
const UINT SlipCodes[4] = {0, 1, 10, 2};

namespace {

void WINAPI IgnoreButton(int, int, WPARAM, INT_PTR) {}
void WINAPI IgnoreSlip(int, INT_PTR, int) {}

// A control handed out always has its window: a factory that cannot make it makes nothing.
bool Made(const void* control)
{
    if (!control)
        return false;
    EXPECT_TRUE(IsWindow(WindowOf(control))) << "a control without its window";
    return true;
}

// The host destroys a window the library made and left to it.
void DestroyOwnWindow(HWND window)
{
    if (DestroyWindow(window))
        HostReleased(window);
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// SetText keeps a copy of text, or says it could not and shows none.
void SetText(ILableControl* label, const char* text)
{
    const BOOL taken = label->SetText(text);
    const char* kept = label->GetText();
    if (taken) {
        EXPECT_STREQ(kept, text);
    }
    if (!kept) {
        EXPECT_FALSE(taken) << "a text refused its memory was reported as taken";
    }
}

LRESULT Send(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(window, msg, wParam, lParam);
}

void SetCursorOver(HWND window)
{
    Send(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

}  // namespace

void PaintNow(HWND window)
{
    // A paint refused a DC, bitmap, pen, brush or region leaves the window as it was, or
    // paints it whole as the next paint does: never a part of the picture.
    // Only a window the library paints alone: an adopted window's own procedure and the
    // slip's edit box paint too.
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    const Ledger* ledger = CurrentLedger();
    const bool armed = ledger && ledger->Armed() && std::strncmp(className, "QUOVEN_BASEWINDOW", 17) == 0 &&
                       !GetWindow(window, GW_CHILD);
    const Image before = armed ? Shown(window) : Image{};
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!armed || !ledger->Failed())
        return;
    const Image after = Shown(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::string kept = FirstDifference(after, before), whole = FirstDifference(after, Shown(window));
    EXPECT_TRUE(kept.empty() || whole.empty())
        << "a refused paint left a part of the picture: " << kept << "; whole: " << whole << " (creation "
        << ledger->Creations() << ", " << ledger->Calls("BeginPaint") << " paints)";
}

HWND ChildOfClass(HWND window, const char* className)
{
    return FindWindowExA(window, nullptr, className, nullptr);
}

bool ExerciseButton(const Veltra& veltra, HWND parent, UINT code)
{
    IColorButtom* button = nullptr;
    veltra.FactroyColorButtom(&button, code, parent, IgnoreButton, code);
    if (!Made(button))
        return false;
    const HWND window = WindowOf(button);
    button->NoOp(0);
    button->SetHoverCursor(LoadCursorA(nullptr, IDC_HAND));
    button->MoveTo(40, 40);
    button->SetDot(TRUE);
    for (int frame : {VELTRA_FRAME_HOVER, VELTRA_FRAME_PRESSED, VELTRA_FRAME_NORMAL}) {
        button->SetState(frame);
        PaintNow(window);
    }
    button->SetAutoRepeat(TRUE);
    Send(window, WM_MOUSEMOVE, 0, At(2, 2));
    SetCursorOver(window);
    Send(window, WM_LBUTTONDOWN, MK_LBUTTON, At(2, 2));
    PaintNow(window);
    for (UINT_PTR timer : {101, 100, 100, 7})
        Send(window, WM_TIMER, timer);
    Send(window, WM_LBUTTONUP, 0, At(2, 2));
    Send(window, WM_RBUTTONDOWN, MK_RBUTTON, At(2, 2));
    Send(window, WM_MOUSELEAVE);
    button->SetAutoRepeat(FALSE);
    button->SetDot(FALSE);
    PaintNow(window);
    button->GetState();
    button->Destroy();
    return true;
}

bool ExerciseLabel(const Veltra& veltra, HWND parent, UINT code)
{
    ILableControl* label = nullptr;
    veltra.FactroyLableControl(&label, code, parent);
    if (!Made(label))
        return false;
    const HWND made = WindowOf(label);
    MoveWindow(made, 100, 100, 160, 40, TRUE);
    label->GetText();
    SetText(label, "Soak 0123456789");
    label->GetText();
    label->SetFont("Arial", 14);
    label->SetFont(nullptr, 9);
    label->SetBackColor(RGB(10, 20, 30));
    label->SetForeColor(RGB(200, 100, 0));
    label->SetFlags(VELTRA_LABEL_BOLD | VELTRA_LABEL_ITALIC | VELTRA_LABEL_UNDERLINE | VELTRA_LABEL_STATIC_EDGE,
                    0xFF);
    PaintNow(made);
    label->SetFlags(VELTRA_LABEL_TRANSPARENT | VELTRA_LABEL_BLINK_TEXT | VELTRA_LABEL_BLINK_BACK | VELTRA_LABEL_BORDER,
                    0xFF);
    label->RefreshBackground();
    for (int tick = 0; tick < 3; ++tick) {
        Send(made, WM_TIMER, 100);
        PaintNow(made);
    }
    label->SetTextAngle(900, TRUE);
    label->SetHighlight(TRUE, TRUE);
    PaintNow(made);
    label->SetTextAngle(0, FALSE);
    label->SetHighlight(TRUE, FALSE);
    label->SetClickMode(TRUE, FALSE);
    Send(made, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    label->SetHoverCursor(LoadCursorA(nullptr, IDC_HAND));
    SetCursorOver(made);
    Send(made, WM_SYSCOLORCHANGE);
    PaintNow(made);

    // A window of its own made by slot 18, then a host's window adopted by slot 17: each
    // time the window left behind is the host's to destroy.
    const RECT rect = {10, 10, 90, 30};
    label->Create(&rect, 7, parent);
    DestroyOwnWindow(made);
    PaintNow(WindowOf(label));
    const HWND own = WindowOf(label);
    const HWND adopted = CreateWindowA("STATIC", "adopted", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent, nullptr,
                                       nullptr, nullptr);
    HostLent(adopted);
    label->Attach(adopted);
    DestroyOwnWindow(own);
    SetText(label, "adopted");
    PaintNow(adopted);
    label->Destroy();
    return true;
}

bool ExerciseSlip(const Veltra& veltra, HWND parent, UINT code)
{
    ISlipControl* slip = nullptr;
    veltra.FactroySlipControl(&slip, code, parent, IgnoreSlip, code);
    if (!Made(slip))
        return false;
    const HWND window = WindowOf(slip);
    RECT client;
    GetClientRect(window, &client);
    const int middleX = client.right / 2, middleY = client.bottom / 2;
    slip->SetRange(-500, 1500);
    slip->SetValue(500);
    slip->GetValue();
    slip->ShowValue(TRUE);
    slip->SetValueColor(RGB(255, 0, 0));
    slip->SetStartMarker(100);
    slip->SetEndMarker(900);
    slip->GetStartMarker();
    slip->GetEndMarker();
    PaintNow(window);
    for (WPARAM keys : {MK_LBUTTON, MK_LBUTTON | MK_CONTROL, MK_LBUTTON | MK_SHIFT}) {
        Send(window, WM_LBUTTONDOWN, keys, At(middleX, middleY));
        for (int step = 1; step <= 8; ++step)
            Send(window, WM_MOUSEMOVE, keys, At(middleX + 3 * step, middleY + 3 * step));
        PaintNow(window);
        Send(window, WM_LBUTTONUP, 0, At(middleX + 30, middleY + 30));
    }
    SetCursorOver(window);
    Send(window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(middleX, middleY));
    if (const HWND box = ChildOfClass(window, "Edit")) {
        SetWindowTextA(box, "1234");
        PaintNow(window);
        SetFocus(parent);
    }
    Send(window, WM_RBUTTONUP, 0, At(1, 1));
    slip->ClearMarkers(VELTRA_START_MARKER | VELTRA_END_MARKER);
    slip->ShowValue(FALSE);
    PaintNow(window);
    slip->Destroy();
    return true;
}

BOOL ExerciseFace(const Veltra& veltra)
{
    const SIZE screen = Screen();
    Canvas canvas(screen.cx, screen.cy, 0);
    const BOOL drawn = veltra.DrawFace(canvas.dc());
    // A face reported drawn is the whole face, whatever was refused on the way.
    const Ledger* ledger = CurrentLedger();
    if (drawn && ledger && ledger->Failed()) {
        Canvas again(screen.cx, screen.cy, 0);
        veltra.DrawFace(again.dc());
        EXPECT_EQ(FirstDifference(canvas.Read(), again.Read()), "") << "a face reported drawn is not whole";
    }
    RECT inner;
    COLORREF background;
    veltra.GetBgkColorSize(&inner, &background);
    for (int query = 0; query < 32; ++query) {
        INT32 out[4] = {0, 0, VELTRA_QUERY_MARKER, 0};
        if (!veltra.GetObjectRect(query, out))
            continue;
        // The bitmaps handed out are the host's to delete.
        const int first = query == 5 ? 2 : 0, last = query == 5 ? 2 : query == 20 || query == 21 ? 3 : -1;
        for (int i = first; i <= last; ++i) {
            const auto bitmap = reinterpret_cast<HGDIOBJ>(static_cast<INT_PTR>(out[i]));
            if (bitmap && DeleteObject(bitmap))
                HostReleased(bitmap);
        }
    }
    return drawn;
}
