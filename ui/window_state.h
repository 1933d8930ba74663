#pragma once

#include <cstdint>

#include "app/handles.h"
#include "protocol/colours.h"

// The window's part of the program's state, alive for the whole run: its controls, the lamps' colours,
// the running operation's wait and the display scale.

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

// The DPI every layout figure is made for: 100 %.
constexpr int kDesignDpi = 96;

struct ProgressState {
    WindowHandle window = nullptr;  // the progress window of the running operation
    int ticks = 0;
    int running = 0;  // the running operation, 0 when idle
};

// The character set of the program's Russian texts (RUSSIAN_CHARSET).
constexpr int kCyrillicCharset = 204;

struct DisplayScaleState {
    int dpi = kDesignDpi;                  // of the main window
    int fontDpi = kDesignDpi;              // that the system font of the controls was made for
    int systemCharset = kCyrillicCharset;  // of the system font
    // The system font's face made for `dpi` in Cyrillic, where the system font does not serve; else null.
    FontHandle font = nullptr;
};

struct WindowState {
    WindowHandle control[kControlCount] = {};
    std::uint32_t lamp[kLampCount] = {};  // colours; lamp 1 is lamp[0]
    ProgressState progress;
    DisplayScaleState scale;
};
extern WindowState g_window;
