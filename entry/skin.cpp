#include <memory>

#include "common/library.h"
#include "common/skin.h"
#include "entry/fit.h"
#include "include/veltra1024.h"
#include "skin/reasons.h"
#include "skin/skin_reader.h"

// Checked whole before anything changes, then applied as a fit is: all or nothing.
extern "C" int WINAPI LoadSkin(const char* folder, char* reason, int reasonSize)
{
    Reasons reasons(reason, reasonSize);
    std::unique_ptr<Skin> skin;
    if (folder && !(skin = ReadSkin(folder, reasons))) {
        reasons.Finish();
        return 0;
    }
    Display display = LibraryDisplay();
    display.skin = skin.get();
    if (!FitDisplay(display)) {
        reasons.Add("memory or a drawing object ran out making the skin's pictures");
        reasons.Finish();
        return 0;
    }
    skin.release();  // the library's now
    return 1;
}
