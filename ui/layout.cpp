#include "ui/layout.h"

#include "app/main_window.h"
#include "protocol/control_ids.h"
#include "protocol/reader_view.h"
#include "ui/control_glue.h"
#include "ui/control_styles.h"
#include "ui/display_scale.h"

namespace {

constexpr unsigned kPortListStyle = kWsChild | kWsVisible | kCbsDropDownList;
constexpr unsigned kButtonStyle = kWsChild | kWsVisible | kBsPushButton;
constexpr unsigned kLabelStyle = kWsChild | kWsVisible | kSsLeft;
constexpr unsigned kTabStyle = kWsChild | kWsVisible | kWsClipSiblings;
constexpr unsigned kPageGroupStyle = kWsChild | kWsGroup | kBsGroupBox;  // shown by the page routine
constexpr unsigned kPageRadioStyle = kWsChild | kBsAutoRadioButton;
constexpr unsigned kSharedGroupStyle = kWsChild | kWsVisible | kWsGroup | kBsGroupBox;
constexpr unsigned kSharedRadioStyle = kWsChild | kWsVisible | kBsAutoRadioButton;

constexpr const char* kButton = "Button";

}  // namespace

// clang-format off
const ControlLayout kControlTable[kControlCount] = {
    {"Combobox",        kIdPortList,           10,  10, 150, 200, kPortListStyle,          nullptr,                            "",                             kPageNone},
    {kButton,           kIdSearch,            180,  10, 140,  40, kButtonStyle,            &TextSlots::ButtonSearch,           nullptr,                        kPageNone},
    {"Static",          kIdVersionLabel,       10,  39,  60,  20, kLabelStyle,             &TextSlots::LabelVersion,           nullptr,                        kPageNone},
    {"Static",          kIdVersionField,       70,  39,  40,  20, kLabelStyle,             nullptr,                            kNoVersion,                     kPageNone},
    {"SysTabControl32", 0,                     10,  60, 310, 500, kTabStyle,               nullptr,                            "",                             kPageNone},
    {kButton,           0,                     20, 100, 290,  90, kPageGroupStyle,         &TextSlots::GroupInterfaces,        nullptr,                        kPageSerial},
    {kButton,           kIdTouchMemory,        30, 120, 120,  20, kPageRadioStyle,         nullptr,                            "Touch Memory",                 kPageSerial},
    {kButton,           kIdWiegand26,          30, 141, 120,  20, kPageRadioStyle,         nullptr,                            "Wiegand 26",                   kPageSerial},
    {kButton,           kIdWiegand44,          30, 162, 120,  20, kPageRadioStyle,         nullptr,                            "Wiegand 44",                   kPageSerial},
    {kButton,           0,                     20, 100, 290,  70, kPageGroupStyle,         &TextSlots::GroupOperatingMode,     nullptr,                        kPageUsb},
    {kButton,           kIdModeWindows,        30, 120,  95,  20, kPageRadioStyle,         nullptr,                            "WINDOWS",                      kPageUsb},
    {kButton,           kIdModeAnyOs,          30, 141, 180,  20, kPageRadioStyle,         nullptr,                            "Windows, Linux, MacOS",        kPageUsb},
    {kButton,           0,                     20, 200, 290,  70, kPageGroupStyle,         &TextSlots::GroupIndicationControl, nullptr,                        kPageSerial},
    {kButton,           kIdIndicationDirect,   30, 220, 190,  20, kPageRadioStyle,         &TextSlots::RadioDirect,            nullptr,                        kPageSerial},
    {kButton,           kIdIndicationInverse,  30, 241, 190,  20, kPageRadioStyle,         &TextSlots::RadioInverse,           nullptr,                        kPageSerial},
    {kButton,           0,                     20, 180, 290,  70, kPageGroupStyle,         &TextSlots::GroupOutputFormat,      nullptr,                        kPageUsb},
    {kButton,           kIdFormatHexDec,       30, 200, 120,  20, kPageRadioStyle,         &TextSlots::RadioHexOrDec,          nullptr,                        kPageUsb},
    {kButton,           kIdFormatTouchMemory,  30, 221, 120,  20, kPageRadioStyle,         nullptr,                            "Touch Memory",                 kPageUsb},
    {kButton,           0,                     20, 280, 290,  90, kPageGroupStyle,         &TextSlots::GroupStandbyIndication, nullptr,                        kPageSerial},
    {kButton,           kIdStandbyDynamic,     30, 300, 120,  20, kPageRadioStyle,         &TextSlots::RadioDynamic,           nullptr,                        kPageSerial},
    {kButton,           kIdStandbyStatic,      30, 321, 120,  20, kPageRadioStyle,         &TextSlots::RadioStatic,            nullptr,                        kPageSerial},
    {kButton,           kIdStandbyOff,         30, 342,  60,  20, kPageRadioStyle,         &TextSlots::RadioStandbyOff,        nullptr,                        kPageSerial},
    {kButton,           0,                     20, 260, 290,  70, kPageGroupStyle,         &TextSlots::GroupOutputType,        nullptr,                        kPageUsb},
    {kButton,           kIdTypeHex,            30, 280,  70,  20, kPageRadioStyle,         nullptr,                            "HEX",                          kPageUsb},
    {kButton,           kIdTypeDec,            30, 301,  70,  20, kPageRadioStyle,         nullptr,                            "DEC",                          kPageUsb},
    {kButton,           0,                     20, 380, 290,  70, kPageGroupStyle,         &TextSlots::GroupTouchButtonPoll,   nullptr,                        kPageSerial},
    {kButton,           kIdPollOn,             30, 400,  60,  20, kPageRadioStyle,         &TextSlots::RadioPollOn,            nullptr,                        kPageSerial},
    {kButton,           kIdPollOff,            30, 421,  60,  20, kPageRadioStyle,         &TextSlots::RadioPollOff,           nullptr,                        kPageSerial},
    {kButton,           0,                     20, 340, 290, 110, kPageGroupStyle,         &TextSlots::GroupIdBytes,           nullptr,                        kPageUsb},
    {kButton,           kIdBytes5,             30, 360,  60,  20, kPageRadioStyle,         nullptr,                            "5",                            kPageUsb},
    {kButton,           kIdBytes4,             30, 381,  60,  20, kPageRadioStyle,         nullptr,                            "4",                            kPageUsb},
    {kButton,           kIdBytes3,             30, 402,  60,  20, kPageRadioStyle,         nullptr,                            "3",                            kPageUsb},
    {kButton,           kIdBytes2,             30, 423,  60,  20, kPageRadioStyle,         nullptr,                            "2",                            kPageUsb},
    {kButton,           0,                     20, 460, 290,  90, kSharedGroupStyle,       &TextSlots::GroupCardsToRead,       nullptr,                        kPageBoth},
    {kButton,           kIdCardsAll,           30, 480, 240,  20, kSharedRadioStyle,       nullptr,                            "HID, EM-Marine + MIFARE, Pay", kPageBoth},
    {kButton,           kIdCardsHidEm,         30, 501, 120,  20, kSharedRadioStyle,       nullptr,                            "HID, EM-Marine",               kPageBoth},
    {kButton,           kIdCardsMifare,        30, 522, 120,  20, kSharedRadioStyle,       nullptr,                            "MIFARE, Pay",                  kPageBoth},
    {kButton,           kIdRead,               10, 570, 140,  40, kButtonStyle | kWsGroup, &TextSlots::ButtonRead,             nullptr,                        kPageNone},
    {kButton,           kIdWrite,             180, 570, 140,  40, kButtonStyle,            &TextSlots::ButtonWrite,            nullptr,                        kPageNone},
    {kButton,           0,                    330,  60,  50, 500, kSharedGroupStyle,       &TextSlots::GroupIndicators,        nullptr,                        kPageNone},
};
// clang-format on

const char* ControlText(const ControlLayout& control) {
    return control.slotText != nullptr ? g_lang.text.*control.slotText : control.fixedText;
}

void CreateControls(int first, int last) {
    for (int slot = first; slot <= last; ++slot) {
        const ControlLayout& control = kControlTable[slot];
        g_window.control[slot] =
            ControlCreate(g_shell.window, control.windowClass, ControlText(control), control.style, Scaled(control.x),
                          Scaled(control.y), Scaled(control.width), Scaled(control.height), control.id);
    }
}

void CreateTabControl() {
    InitCommonControlClasses();
    CreateControls(kSlotTabControl, kSlotTabControl);
    WindowHandle tab = g_window.control[kSlotTabControl];
    TabInsertItem(tab, kReaderSerial, "Zentak-6KRT_M");
    TabInsertItem(tab, kReaderUsb, "  Zentak-6-USB   ");
    if (g_shell.readerModel == kReaderSerial || g_shell.readerModel == kReaderUsb) TabSelect(tab, g_shell.readerModel);
}

void PlaceMainWindowControls() {
    for (int slot = 0; slot < kControlCount; ++slot) {
        const ControlLayout& control = kControlTable[slot];
        ControlMove(g_window.control[slot], Scaled(control.x), Scaled(control.y), Scaled(control.width),
                    Scaled(control.height));
    }
}
