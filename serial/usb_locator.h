#pragma once

// Finds the USB reader's COM port among the present USB devices by its vendor,
// product and revision: pattern 1 "USB\VID_v&PID_p&REV_r" from the first
// identity, pattern 2 "USB\Vid_v&Pid_p&Rev_r" from the second. The last
// matching device with a usable port name wins; its name goes into portName
// (7 bytes). Returns false and leaves portName alone when none matches.
bool FindUsbReaderPort(char* portName, const char* vendor1, const char* product1, const char* revision1,
                       const char* vendor2, const char* product2, const char* revision2);

// The same with the reader's own identity, upper- and lower-case.
bool FindUsbReaderPort(char* portName);
