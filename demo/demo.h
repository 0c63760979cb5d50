// The demo host: a full-screen media application built on Veltra1024.
#pragma once

#include <windows.h>

#include <string>

#include "include/veltra1024.h"

// The library's exports, looked up by name as a host that loads it at run time does.
struct Skin {
    HMODULE module = nullptr;
    PFN_DrawFace DrawFace = nullptr;
    PFN_GetBgkColorSize GetBgkColorSize = nullptr;
    PFN_GetObjectRect GetObjectRect = nullptr;
    PFN_FactroyColorButtom FactroyColorButtom = nullptr;
    PFN_FactroyLableControl FactroyLableControl = nullptr;
    PFN_FactroySlipControl FactroySlipControl = nullptr;
    PFN_SetAccessibleName SetAccessibleName = nullptr;  // absent from older libraries
    PFN_SetAccessibleOption SetAccessibleOption = nullptr;
    PFN_FitScreen FitScreen = nullptr;  // absent from older libraries, which keep their size
    PFN_FitScreenScaled FitScreenScaled = nullptr;  // absent from libraries drawn at one scale
    PFN_LoadSkin LoadSkin = nullptr;                // absent from libraries of one skin

    bool Load(const char* path);
};

extern Skin skin;

// The scale the library draws the design at: the demo's own lengths and text follow it.
extern int scale;

// Text in the system's font at the scale.
void Text(HDC dc, RECT area, const char* text, COLORREF colour, UINT format);

// The host's own widgets on the face, placed and coloured by the layout queries.
void LoadWidgets();
void FreeWidgets();
void PaintWidgets(HDC dc);
void AnimateWidgets(HWND window);  // the level display moves on each call

// The library's controls and what the demo does with their events.
void CreateControls(HWND parent);
void DestroyControls();
void PaintEventLog(HDC dc, const RECT& area);
void LogEvent(const char* format, ...);

// A scripted sequence of hovers, presses and drags, for screenshots.
void PlayScript();
