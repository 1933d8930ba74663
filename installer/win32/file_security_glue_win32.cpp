#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "base/utf16_glue.h"
#include "installer/file_security_glue.h"

namespace {

constexpr SECURITY_INFORMATION kOwnerAndAccess = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// The descriptor of a security string, freed with LocalFree; null when the string is not one.
PSECURITY_DESCRIPTOR DescriptorOf(const char* security) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(Utf16Of(security).c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return nullptr;
    return descriptor;
}

}  // namespace

bool ReadSecurityText(const std::string& path, std::string* text) {
    std::wstring wide;
    if (!NameUtf16(path, &wide)) return false;
    DWORD size = 0;
    GetFileSecurityW(wide.c_str(), kOwnerAndAccess, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<unsigned char> descriptor(size);
    if (!GetFileSecurityW(wide.c_str(), kOwnerAndAccess, descriptor.data(), size, &size)) return false;
    LPWSTR string = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1, kOwnerAndAccess,
                                                              &string, nullptr))
        return false;
    *text = Utf8Of(string, -1);
    LocalFree(string);
    return true;
}

bool MakeFolderWithSecurity(const std::string& path, const char* security) {
    std::wstring wide;
    const PSECURITY_DESCRIPTOR descriptor = NameUtf16(path, &wide) ? DescriptorOf(security) : nullptr;
    if (descriptor == nullptr) return false;
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    const bool made = CreateDirectoryW(wide.c_str(), &attributes) != 0;
    LocalFree(descriptor);
    return made;
}

bool WriteSecurity(const std::string& path, const char* security) {
    std::wstring wide;
    const PSECURITY_DESCRIPTOR descriptor = NameUtf16(path, &wide) ? DescriptorOf(security) : nullptr;
    if (descriptor == nullptr) return false;
    const bool written =
        SetFileSecurityW(wide.c_str(), kOwnerAndAccess | PROTECTED_DACL_SECURITY_INFORMATION, descriptor) != 0;
    LocalFree(descriptor);
    return written;
}
