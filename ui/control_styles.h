#pragma once

// Window style bits used by the main window's controls, with the platform's
// values (the glue checks them against the system headers at compile time).
enum StyleBit : unsigned {
    kWsChild = 0x40000000u,
    kWsVisible = 0x10000000u,
    kWsClipSiblings = 0x04000000u,
    kWsGroup = 0x00020000u,
    kCbsDropDownList = 0x0003u,
    kBsPushButton = 0x0000u,
    kBsGroupBox = 0x0007u,
    kBsAutoRadioButton = 0x0009u,
    kSsLeft = 0x0000u,
};
