#pragma once

// Identifiers of the main window's controls and menu commands.
enum CommandId : int {
    kIdPortList = 1,
    kIdSearch = 2,
    kIdRead = 13,
    kIdWrite = 14,
    kIdQuit = 15,
    kIdRussian = 16,
    kIdEnglish = 17,
    kIdHelp = 18,
    kIdAbout = 19,
    kIdVersionLabel = 30,
    kIdVersionField = 31,
};
