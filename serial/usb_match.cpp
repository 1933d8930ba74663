#include "serial/usb_match.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "serial/port_order.h"

namespace {

constexpr std::size_t kPatternCapacity = 80;
constexpr std::size_t kPatternLength = 30;  // only this many characters of an identifier count

bool StartsWithComIgnoringCase(const std::string& name) {
    static const char kCom[] = "COM";
    if (name.size() < 3) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != kCom[i]) return false;
    }
    return true;
}

// A name longer than the window holds is skipped rather than cut: a cut name could be another port.
bool UsablePortName(const std::string& name) {
    return StartsWithComIgnoringCase(name) && PortNumberOf(name.c_str()) != 0 &&
           name.size() < static_cast<std::size_t>(kPortNameCapacity);
}

}  // namespace

int MatchUsbReader(const std::vector<UsbDeviceRecord>& devices, const UsbIdentity& upper, const UsbIdentity& lower) {
    char pattern1[kPatternCapacity];
    char pattern2[kPatternCapacity];
    std::snprintf(pattern1, sizeof(pattern1), "USB\\VID_%s&PID_%s&REV_%s", upper.vendor, upper.product, upper.revision);
    std::snprintf(pattern2, sizeof(pattern2), "USB\\Vid_%s&Pid_%s&Rev_%s", lower.vendor, lower.product, lower.revision);
    int found = -1;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const UsbDeviceRecord& device = devices[i];
        if (!device.keyOpened || !UsablePortName(device.portName)) continue;
        const char* id = device.hardwareId.c_str();
        // A later match overwrites: the last one wins.
        if (std::strncmp(id, pattern1, kPatternLength) == 0 || std::strncmp(id, pattern2, kPatternLength) == 0) {
            found = static_cast<int>(i);
        }
    }
    return found;
}

bool IsReaderUsbIdentity(const std::string& vendor, const std::string& product, const std::string& revision) {
    const auto same = [](const std::string& text, const char* wanted) {
        if (text.size() != std::strlen(wanted)) return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (std::toupper(static_cast<unsigned char>(text[i])) != wanted[i]) return false;
        }
        return true;
    };
    return same(vendor, kReaderIdentity.vendor) && same(product, kReaderIdentity.product) &&
           same(revision, kReaderIdentity.revision);
}
