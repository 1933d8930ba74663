#include "ui/tab_pages.h"

#include "app/main_window.h"
#include "ui/lamps.h"
#include "ui/layout.h"
#include "ui/window_ops_glue.h"

TabPageState g_tabs;

namespace {

struct RadioDefault {
    int first;
    int last;
    int selected;
};

constexpr RadioDefault kSerialDefaults[] = {{3, 5, 3}, {6, 7, 6}, {8, 10, 10}, {11, 12, 11}, {32, 34, 32}};
constexpr RadioDefault kUsbDefaults[] = {{20, 21, 20}, {22, 23, 22}, {24, 25, 24}, {26, 29, 26}, {32, 34, 32}};

// The page's 14 controls, in creation order.
void ShowPage(int page, bool show) {
    for (int slot = 0; slot < kControlCount; ++slot) {
        if (kControlTable[slot].page == page) WindowShow(g_controls.handle[slot], show);
    }
}

void EnableCardsGroup(bool enable) {
    for (int slot = kSlotGroupCardsToRead; slot <= kSlotRadio34; ++slot) WindowEnable(g_controls.handle[slot], enable);
}

template <std::size_t N>
void CheckDefaults(const RadioDefault (&defaults)[N]) {
    for (const RadioDefault& group : defaults) RadioCheckInRange(g_main.window, group.first, group.last, group.selected);
}

void SetLamps(std::uint32_t lamp1, std::uint32_t lamp2, std::uint32_t lamp3, std::uint32_t lamp4) {
    g_lamps = LampState{{lamp1, lamp2, lamp3, lamp4, kColourWhite}};
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
    WindowEnable(g_controls.handle[kSlotRadio24], true);
    WindowEnable(g_controls.handle[kSlotRadio25], true);
    EnableCardsGroup(true);
    SetLamps(kColourCyan, kColourWhite, kColourWhite, kColourWhite);
}

void ShowPageOfReaderModel() {
    if (g_tabs.readerModel == kReaderSerial) ShowSerialReaderPage();
    if (g_tabs.readerModel == kReaderUsb) ShowUsbReaderPage();
}
