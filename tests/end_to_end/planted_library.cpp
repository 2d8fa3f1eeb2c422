// What someone could drop beside VestroFile.exe under the name of a library it loads: once
// loaded, it leaves "<its own path>.loaded" beside itself. (A program that imported a library of
// its name would not even start with it: it offers none of that library's functions.)
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[4096] = {};
        GetModuleFileNameW(self, path, 4096);
        CloseHandle(CreateFileW((std::wstring(path) + L".loaded").c_str(), GENERIC_WRITE, 0,
                                nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return TRUE;
}
