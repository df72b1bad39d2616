#pragma once

// Who an object's access list lets in, for the tests of what is the user's alone.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace velmorandi::testing {

inline std::string sidText(PSID sid) {
    char* text = nullptr;
    if (!::ConvertSidToStringSidA(sid, &text))
        return {};
    std::string result(text);
    ::LocalFree(text);
    return result;
}

inline std::string currentUser() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    std::vector<unsigned char> buffer(256);
    DWORD size = 0;
    const bool read = ::GetTokenInformation(token, TokenUser, buffer.data(),
                                            static_cast<DWORD>(buffer.size()), &size);
    ::CloseHandle(token);
    return read ? sidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid) : std::string();
}

// The users the access list admits.
inline std::vector<std::string> admittedBy(PACL access) {
    std::vector<std::string> admitted;
    for (DWORD i = 0; access != nullptr && i < access->AceCount; ++i) {
        void* entry = nullptr;
        if (::GetAce(access, i, &entry) &&
            static_cast<ACE_HEADER*>(entry)->AceType == ACCESS_ALLOWED_ACE_TYPE)
            admitted.push_back(sidText(&static_cast<ACCESS_ALLOWED_ACE*>(entry)->SidStart));
    }
    return admitted;
}

// ... then "+inherited" when a file also takes the entries of the folder above.
inline std::vector<std::string> fileAdmits(const std::wstring& path) {
    PACL access = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &access, nullptr, &descriptor) != ERROR_SUCCESS)
        return {"unreadable"};
    std::vector<std::string> admitted = admittedBy(access);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (::GetSecurityDescriptorControl(descriptor, &control, &revision) &&
        (control & SE_DACL_PROTECTED) == 0)
        admitted.push_back("+inherited");
    ::LocalFree(descriptor);
    return admitted;
}

inline std::vector<std::string> handleAdmits(HANDLE object) {
    PACL access = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                          &access, nullptr, &descriptor) != ERROR_SUCCESS)
        return {"unreadable"};
    std::vector<std::string> admitted = admittedBy(access);
    ::LocalFree(descriptor);
    return admitted;
}

} // namespace velmorandi::testing
