// Stands in for a PDF viewer in the tests: registered as the "open" handler of .pdf, it appends
// the arguments it was started with, one per line in UTF-16, to the file that the environment
// variable KO_OPEN_RECORD names, and ends.
#include <windows.h>

#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t record[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"KO_OPEN_RECORD", record, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 2;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return 2;
    const HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        for (int i = 1; i < count; ++i) {
            DWORD written = 0;
            WriteFile(file, arguments[i], lstrlenW(arguments[i]) * sizeof(wchar_t), &written,
                      nullptr);
            WriteFile(file, L"\n", sizeof(wchar_t), &written, nullptr);
        }
        CloseHandle(file);
    }
    LocalFree(arguments);
    return file == INVALID_HANDLE_VALUE ? 2 : 0;
}
