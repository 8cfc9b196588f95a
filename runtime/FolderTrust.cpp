#include "runtime/FolderTrust.h"

#include <windows.h>

#include <aclapi.h>

#include "framework/Array.h"

#include "base/PathExists.h"

namespace {

// What lets a principal plant or replace a runtime. Attributes and extended
// attributes change no byte of a program and are left out.
const DWORD kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE | WRITE_DAC |
                            WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

// The user the launcher runs as; empty when the token cannot be read.
Array<BYTE> CurrentUserSid() {
    Array<BYTE> sid;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return sid;
    Array<BYTE> buffer(sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE);
    DWORD size = 0;
    if (GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
        PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
        const BYTE* bytes = static_cast<const BYTE*>(user);
        sid.assign(bytes, bytes + GetLengthSid(user));
    }
    CloseHandle(token);
    return sid;
}

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE kind) {
    BYTE buffer[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(buffer);
    return CreateWellKnownSid(kind, nullptr, buffer, &size) && EqualSid(sid, buffer);
}

bool IsSid(PSID sid, SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD a0, DWORD a1 = 0, DWORD a2 = 0,
           DWORD a3 = 0, DWORD a4 = 0, DWORD a5 = 0) {
    PSID made = nullptr;
    if (!AllocateAndInitializeSid(&authority, count, a0, a1, a2, a3, a4, a5, 0, 0, &made)) return false;
    bool same = EqualSid(sid, made) != FALSE;
    FreeSid(made);
    return same;
}

bool IsTrusted(PSID sid, const Array<BYTE>& user) {
    if (!user.empty() && EqualSid(sid, const_cast<BYTE*>(user.data()))) return true;
    if (IsWellKnown(sid, WinLocalSystemSid) || IsWellKnown(sid, WinBuiltinAdministratorsSid)) return true;
    // TrustedInstaller, the owner of what Windows itself installs.
    if (IsSid(sid, SECURITY_NT_AUTHORITY, 6, 80, 956008885u, 3418522649u, 1831038044u, 1853292631u, 2271478464u))
        return true;
    // CREATOR OWNER and OWNER RIGHTS stand for the owner, judged on its own.
    return IsSid(sid, SECURITY_CREATOR_SID_AUTHORITY, 1, 0) || IsSid(sid, SECURITY_CREATOR_SID_AUTHORITY, 1, 4);
}

bool OnlyTrustedCanChange(const CString& path, const Array<BYTE>& user) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(const_cast<char*>(path.GetString()), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return false;
    // The owner may rewrite the access list at will.
    bool trusted = owner && dacl && IsTrusted(owner, user);
    for (WORD i = 0; trusted && i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header))) {
            trusted = false;
            break;
        }
        // Deny entries only take away; inherit-only ones apply to children,
        // each of which is judged on its own.
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) continue;
        ACCESS_ALLOWED_ACE* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        if (allowed->Mask & kChangeRights) trusted = IsTrusted(&allowed->SidStart, user);
    }
    LocalFree(descriptor);
    return trusted;
}

}  // namespace

bool OnlyTrustedCanChange(const CString& path) {
    return OnlyTrustedCanChange(path, CurrentUserSid());
}

bool IsFolderHomeTrusted(const CString& home, const CString& above) {
    Array<BYTE> user = CurrentUserSid();
    const char* text = home.GetString();
    int length = home.GetLength(), aboveLength = above.GetLength();
    bool below = aboveLength > 0 && length > aboveLength + 1 && text[aboveLength] == '\\' &&
                 lstrcmpiA(CString(text, aboveLength), above) == 0;
    // Each folder on the way down: whoever may add to one may put a whole
    // runtime below it.
    for (int i = below ? aboveLength + 1 : length; i < length; ++i)
        if (text[i] == '\\' && !OnlyTrustedCanChange(CString(text, i), user)) return false;
    if (!OnlyTrustedCanChange(home, user)) return false;
    CString bin = home + "\\bin";
    if (!OnlyTrustedCanChange(bin, user)) return false;
    const char* const exes[] = {"\\java.exe", "\\javaw.exe"};
    for (const char* exe : exes)
        if (PathExists(bin + exe) && !OnlyTrustedCanChange(bin + exe, user)) return false;
    return true;
}
