#pragma once

#include "app/text/texts.h"
#include "ui/window_state.h"

// The layout of every child control of the main window at 96 DPI, in the order of the slots
// (ui/window_state.h).

enum ControlPage : int { kPageNone, kPageSerial, kPageUsb, kPageBoth };

struct ControlLayout {
    const char* windowClass;
    int id;
    int x, y, width, height;
    unsigned style;
    const char* TextSlots::*slotText;  // a language text, or null
    const char* fixedText;             // used when slotText is null
    int page;
};

extern const ControlLayout kControlTable[kControlCount];

// The text a control shows in the current language.
const char* ControlText(const ControlLayout& control);

// Creates the controls of slots first..last, in order, at the main window's DPI; the tab control with its
// two tabs, the current reader model's selected.
void CreateControls(int first, int last);
void CreateTabControl();

// Moves every control to its place at the main window's DPI.
void PlaceMainWindowControls();
