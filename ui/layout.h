#pragma once

#include "app/handles.h"
#include "app/texts.h"

// Every child control of the main window, in creation order. The order is
// binding: a click on an automatic radio button unchecks the radio buttons
// between the previous and the next control with WS_GROUP.

enum ControlSlot : int {
    kSlotPortList,
    kSlotSearch,
    kSlotVersionLabel,
    kSlotVersionField,
    kSlotTabControl,
    kSlotGroupInterfaces,  // first-tab page: 14 controls from here, interleaved with the second tab's
    kSlotRadio3,
    kSlotRadio4,
    kSlotRadio5,
    kSlotGroupOperatingMode,
    kSlotRadio20,
    kSlotRadio21,
    kSlotGroupIndicationControl,
    kSlotRadio6,
    kSlotRadio7,
    kSlotGroupOutputFormat,
    kSlotRadio22,
    kSlotRadio23,
    kSlotGroupStandbyIndication,
    kSlotRadio8,
    kSlotRadio9,
    kSlotRadio10,
    kSlotGroupOutputType,
    kSlotRadio24,
    kSlotRadio25,
    kSlotGroupTouchButtonPoll,
    kSlotRadio11,
    kSlotRadio12,
    kSlotGroupIdBytes,
    kSlotRadio26,
    kSlotRadio27,
    kSlotRadio28,
    kSlotRadio29,
    kSlotGroupCardsToRead,
    kSlotRadio32,
    kSlotRadio33,
    kSlotRadio34,
    kSlotRead,
    kSlotWrite,
    kSlotLampFrame,
    kControlCount,
};

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

struct ControlsState {
    WindowHandle handle[kControlCount] = {};
};
extern ControlsState g_controls;

// The text a control shows in the current language.
const char* ControlText(const ControlLayout& control);

// Builds the menu bar, then every control in order, showing the page of the
// current reader model before READ, WRITE and the lamp frame are created.
void CreateMainWindowControls();

// Moves every control to its place at the main window's DPI.
void PlaceMainWindowControls();
