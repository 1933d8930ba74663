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

}  // namespace

std::vector<TtyDevice> ListTtyDevices(const std::string& sysRoot, const std::string& devRoot) {
    std::vector<TtyDevice> ttys;
    const std::string classFolder = sysRoot + "/class/tty";
    for (const std::string& name : EntriesOf(classFolder)) {
        // Virtual terminals and ptys have no device link.
        const std::string deviceLink = classFolder + "/" + name + "/device";
        if (!Exists(deviceLink)) continue;
        // The 8250 driver registers ports with no UART behind them as type 0 (unknown); USB ttys have no type.
        if (ReadWord(classFolder + "/" + name + "/type") == "0") continue;
        TtyDevice tty;
        tty.path = devRoot + "/" + name;
        FindUsbAbove(sysRoot, deviceLink, &tty);
        ttys.push_back(tty);
    }
    return ttys;
}
