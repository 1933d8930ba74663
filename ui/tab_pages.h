#pragma once

// The reader model is the index of the selected tab.
enum ReaderModel : int {
    kReaderSerial = 0,  // serial-output reader, first tab
    kReaderUsb = 1,     // USB reader, second tab
};

struct TabPageState {
    int readerModel = kReaderSerial;
};
extern TabPageState g_tabs;
