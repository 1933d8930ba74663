#pragma once

// The two reader models. In the window the model is also the index of the selected tab.
enum ReaderModel : int {
    kReaderSerial = 0,  // serial-output reader (Touch Memory / Wiegand), first tab
    kReaderUsb = 1,     // USB reader, second tab
};

inline bool IsReaderModel(int model) { return model == kReaderSerial || model == kReaderUsb; }
