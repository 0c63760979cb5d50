// Links the library through the SDK's import library and header (no GetProcAddress) and
// makes one call of each kind: an export, a factory and a control's slots.
#include <cstdio>

#include "veltra1024.h"

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const char* what)
{
    ok ? ++passed : ++failed;
    if (!ok)
        std::printf("FAILED: %s\n", what);
}

}  // namespace

int main()
{
    RECT inner = {};
    COLORREF colour = 0;
    Check(GetBgkColorSize(&inner, &colour) == &inner, "GetBgkColorSize returns its argument");
    Check(colour == VELTRA_BACKGROUND_COLOR && inner.left == 11 && inner.top == 15, "the inner area and colour");

    INT32 values[4] = {};
    Check(GetObjectRect(6, values) == 1 && values[2] == 165, "GetObjectRect code 6");

    HDC canvas = CreateCompatibleDC(nullptr);
    Check(DrawFace(canvas) != FALSE, "DrawFace");
    DeleteDC(canvas);

    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1024, 768, nullptr, nullptr, nullptr, nullptr);
    IColorButtom* button = nullptr;
    FactroyColorButtom(&button, 1, parent, nullptr, 0);
    Check(button != nullptr, "FactroyColorButtom");
    if (button) {
        button->SetState(VELTRA_FRAME_PRESSED);
        Check(button->GetState() == VELTRA_FRAME_PRESSED, "a button's slots");
        button->Destroy();
    }
    ISlipControl* slip = nullptr;
    FactroySlipControl(&slip, 1, parent, nullptr, 0);
    Check(slip != nullptr, "FactroySlipControl");
    if (slip) {
        slip->SetRange(0, 100);
        slip->SetValue(25);
        Check(slip->GetValue() == 25, "a slip's slots");
        slip->Destroy();
    }
    ILableControl* label = nullptr;
    FactroyLableControl(&label, 0, parent);
    Check(label != nullptr, "FactroyLableControl");
    if (label)
        label->Destroy();
    DestroyWindow(parent);

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
