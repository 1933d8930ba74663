#pragma once

// The main window's controls and menu commands by identifier: the window creates its controls and menus with
// them, and the settings codec names the radio button that shows each setting value.
enum ControlId : int {
    kIdPortList = 1,
    kIdSearch = 2,
    // The first tab's radio buttons, group by group.
    kIdTouchMemory = 3,
    kIdWiegand26 = 4,
    kIdWiegand44 = 5,
    kIdIndicationDirect = 6,
    kIdIndicationInverse = 7,
    kIdStandbyDynamic = 8,
    kIdStandbyStatic = 9,
    kIdStandbyOff = 10,
    kIdPollOn = 11,
    kIdPollOff = 12,
    kIdRead = 13,
    kIdWrite = 14,
    // Menu commands.
    kIdQuit = 15,
    kIdRussian = 16,
    kIdEnglish = 17,
    kIdHelp = 18,
    kIdAbout = 19,
    // The second tab's radio buttons.
    kIdModeWindows = 20,
    kIdModeAnyOs = 21,
    kIdFormatHexDec = 22,
    kIdFormatTouchMemory = 23,
    kIdTypeHex = 24,
    kIdTypeDec = 25,
    kIdBytes5 = 26,
    kIdBytes4 = 27,
    kIdBytes3 = 28,
    kIdBytes2 = 29,
    kIdVersionLabel = 30,
    kIdVersionField = 31,
    // The cards-to-read group that both tabs share.
    kIdCardsAll = 32,
    kIdCardsHidEm = 33,
    kIdCardsMifare = 34,
};
