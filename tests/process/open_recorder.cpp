// Stands in for a PDF viewer in the tests: registered as the "open" handler of .pdf, it appends
// the arguments it was started with, one per line in UTF-16, to the file that the environment
// variable KO_OPEN_RECORD names, and ends.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const wchar_t* record = _wgetenv(L"KO_OPEN_RECORD");
    FILE* file = arguments != nullptr && record != nullptr ? _wfopen(record, L"ab") : nullptr;
    for (int i = 1; file != nullptr && i < count; ++i) {
        std::fwrite(arguments[i], sizeof(wchar_t), std::wcslen(arguments[i]), file);
        std::fwrite(L"\n", sizeof(wchar_t), 1, file);
    }
    LocalFree(arguments);
    return file != nullptr && std::fclose(file) == 0 ? 0 : 2;
}
