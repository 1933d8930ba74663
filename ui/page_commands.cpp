#include "ui/page_commands.h"

#include <cstdint>

#include "app/main_window.h"
#include "app/settings_file.h"
#include "protocol/control_ids.h"
#include "protocol/reader_view.h"
#include "protocol/settings_codec.h"
#include "ui/control_glue.h"
#include "ui/tab_pages.h"
#include "ui/window_state.h"

void OnRadio(int id) {
    int lamp = 0;
    std::uint32_t colour = 0;
    if (LampColourForRadio(id, &lamp, &colour)) {
        SetLampColour(lamp, colour);
        InvalidateLampArea();
    } else if (id == kIdFormatHexDec || id == kIdFormatTouchMemory) {
        EnableControl(kIdTypeHex, id == kIdFormatHexDec);
        EnableControl(kIdTypeDec, id == kIdFormatHexDec);
    }
}

void OnTabChanged() {
    const int index = TabSelection(g_window.control[kSlotTabControl]);
    if (index != kReaderSerial && index != kReaderUsb) return;
    g_shell.readerModel = index;
    SaveSettings();  // records the new tab; a failure warns and the change goes on
    ShowPageOfReaderModel();
    InvalidateLampArea();
    Disconnect();
    StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
}
