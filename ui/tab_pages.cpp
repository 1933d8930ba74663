#include "ui/tab_pages.h"

#include <algorithm>
#include <iterator>

#include "app/main_window.h"
#include "app/startup_glue.h"
#include "protocol/control_ids.h"
#include "ui/layout.h"
#include "ui/window_ops_glue.h"
#include "ui/window_state.h"

namespace {

struct RadioDefault {
    int first;
    int last;
    int selected;
};

constexpr RadioDefault kSerialDefaults[] = {{kIdTouchMemory, kIdWiegand44, kIdTouchMemory},
                                            {kIdIndicationDirect, kIdIndicationInverse, kIdIndicationDirect},
                                            {kIdStandbyDynamic, kIdStandbyOff, kIdStandbyOff},
                                            {kIdPollOn, kIdPollOff, kIdPollOn},
                                            {kIdCardsAll, kIdCardsMifare, kIdCardsAll}};
constexpr RadioDefault kUsbDefaults[] = {{kIdModeWindows, kIdModeAnyOs, kIdModeWindows},
                                         {kIdFormatHexDec, kIdFormatTouchMemory, kIdFormatHexDec},
                                         {kIdTypeHex, kIdTypeDec, kIdTypeHex},
                                         {kIdBytes5, kIdBytes2, kIdBytes5},
                                         {kIdCardsAll, kIdCardsMifare, kIdCardsAll}};

// The page's 14 controls, in creation order.
void ShowPage(int page, bool show) {
    for (int slot = 0; slot < kControlCount; ++slot) {
        if (kControlTable[slot].page == page) WindowShow(g_window.control[slot], show);
    }
}

void EnableCardsGroup(bool enable) {
    for (int slot = kSlotGroupCardsToRead; slot <= kSlotRadio34; ++slot) WindowEnable(g_window.control[slot], enable);
}

template <std::size_t N>
void CheckDefaults(const RadioDefault (&defaults)[N]) {
    for (const RadioDefault& group : defaults)
        RadioCheckInRange(g_shell.window, group.first, group.last, group.selected);
}

void SetLamps(std::uint32_t lamp1, std::uint32_t lamp2, std::uint32_t lamp3, std::uint32_t lamp4) {
    const std::uint32_t colours[kLampCount] = {lamp1, lamp2, lamp3, lamp4, kColourWhite};
    std::copy(std::begin(colours), std::end(colours), g_window.lamp);
}

}  // namespace

void ShowSerialReaderPage() {
    ShowPage(kPageUsb, false);
    ShowPage(kPageSerial, true);
    CheckDefaults(kSerialDefaults);
    EnableCardsGroup(false);
    SetLamps(kColourRed, kColourRed, kColourMagenta, kColourRed);
}

void ShowUsbReaderPage() {
    ShowPage(kPageSerial, false);
    ShowPage(kPageUsb, true);
    CheckDefaults(kUsbDefaults);
    WindowEnable(g_window.control[kSlotRadio24], true);
    WindowEnable(g_window.control[kSlotRadio25], true);
    EnableCardsGroup(true);
    SetLamps(kColourCyan, kColourWhite, kColourWhite, kColourWhite);
}

void ShowPageOfReaderModel() {
    if (g_shell.readerModel == kReaderSerial) ShowSerialReaderPage();
    if (g_shell.readerModel == kReaderUsb) ShowUsbReaderPage();
}
