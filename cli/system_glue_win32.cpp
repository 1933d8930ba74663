#include <windows.h>
#include <io.h>


#include "app/dll_search_glue.h"
#include "cli/system_glue.h"
#include "serial/port_order.h"
#include "serial/port_table.h"
#include "serial/usb_locator.h"

std::vector<SystemPort> ListSystemPorts() {
    std::vector<std::u16string> wide;
    std::uint32_t valueCount = 0;
    std::vector<std::string> names;
    if (ReadPortTable(&wide, &valueCount)) {
        for (const std::u16string& name : wide) names.push_back(NarrowPortName(name));
    }
    std::string usbPort;
    const bool usbFound = FindUsbReaderPort(&usbPort);
    std::vector<SystemPort> ports;
    for (const std::string& name : OrderPortNames(names)) ports.push_back({name, usbFound && name == usbPort});
    return ports;
}

bool UserPrefersRussian() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN; }

// Ports are handles of the process: Windows closes them whichever way it ends.
void PrepareConsole() {
    LimitDllSearch();
    SetConsoleOutputCP(CP_UTF8);
}

bool ErrorOutputIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
