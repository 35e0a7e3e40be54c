#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "cli/console.h"
#include "common/native_name.h"

namespace ko::cli {

std::vector<std::u16string> ArgumentsFromUtf8(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(NativeNameToText(argv[i]));  // paths keep every byte
    return arguments;
}

std::vector<std::u16string> ArgumentsFromWide(int, wchar_t**) {
    return {};
}

void PrepareConsole() {}

void PreferLargeHeapPages() {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    // The heap grows in steps of 64 MiB of address space (pages come only when touched), keeps
    // what is freed, and holds every block below 16 MiB; the advice given to the first step
    // then covers what such a program allocates. A later step would be a region without it.
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_TOP_PAD, 64 << 20);
    const auto start = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void* volatile grow = std::malloc(1 << 20);  // volatile: the pair must not be elided
    std::free(grow);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
#ifdef MADV_HUGEPAGE
    if (end > aligned) madvise(reinterpret_cast<void*>(aligned), end - aligned, MADV_HUGEPAGE);
#endif
}

bool StdoutIsTerminal() {
    return isatty(STDOUT_FILENO) == 1;
}

void WriteStdout(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

}  // namespace ko::cli
