#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "serial/tty_ports.h"

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// The first word of a small sysfs file, "" when it cannot be read.
std::string ReadWord(const std::string& path) {
    std::ifstream file(path);
    std::string word;
    file >> word;
    return word;
}

std::vector<std::string> EntriesOf(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// Walks up from the tty's device (an interface of a USB device, or deeper) to the first folder that
// names a vendor and a product, without leaving the sysfs tree.
void FindUsbAbove(const std::string& sysRoot, const std::string& deviceLink, TtyDevice* tty) {
    char resolved[PATH_MAX];
    char root[PATH_MAX];
    if (realpath(deviceLink.c_str(), resolved) == nullptr || realpath(sysRoot.c_str(), root) == nullptr) return;
    std::string folder = resolved;
    const std::string top = root;
    while (folder.size() > top.size() && folder.compare(0, top.size(), top) == 0) {
        if (Exists(folder + "/idVendor") && Exists(folder + "/idProduct")) {
            tty->usb = true;
            tty->vendor = ReadWord(folder + "/idVendor");
            tty->product = ReadWord(folder + "/idProduct");
            tty->revision = ReadWord(folder + "/bcdDevice");
            tty->serial = ReadWord(folder + "/serial");
            return;
        }
        folder.erase(folder.rfind('/'));
    }
}

// The ttys the kernel writes its console to: those it names active, and those /proc/consoles lists.
std::vector<std::string> ConsoleNames(const std::string& root) {
    std::vector<std::string> names;
    std::ifstream active(root + "/sys/class/tty/console/active");
    for (std::string name; active >> name;) names.push_back(name);
    std::ifstream listed(root + "/proc/consoles");
    for (std::string line; std::getline(listed, line);) names.push_back(line.substr(0, line.find(' ')));
    return names;
}

}  // namespace

std::vector<TtyDevice> ListTtyDevices(const std::string& root) {
    std::vector<TtyDevice> ttys;
    const std::string classFolder = root + "/sys/class/tty";
    const std::vector<std::string> names = EntriesOf(classFolder);
    // Read after the ttys: a console is named before its tty appears, so no tty listed here is missed as one.
    const std::vector<std::string> consoles = ConsoleNames(root);
    for (const std::string& name : names) {
        const std::string folder = classFolder + "/" + name;
        // The serial core gives each UART port its type, as TIOCGSERIAL reports it; 0 (unknown) is an 8250
        // placeholder with no UART behind it. USB ttys have no type.
        const std::string uartType = ReadWord(folder + "/type");
        TtyDevice tty;
        tty.path = root + "/dev/" + name;
        if (!Exists(folder + "/device")) {
            // Virtual terminals and ptys have no device either: only a serial node is worth a word.
            if (uartType.empty() && name.compare(0, 4, "ttyS") != 0) continue;
            tty.skip = TtySkip::kNoDevice;
        } else if (std::find(consoles.begin(), consoles.end(), name) != consoles.end()) {
            tty.skip = TtySkip::kConsole;
        } else if (uartType == "0") {
            tty.skip = TtySkip::kNoUart;
        } else {
            FindUsbAbove(root + "/sys", folder + "/device", &tty);
        }
        ttys.push_back(tty);
    }
    return ttys;
}
