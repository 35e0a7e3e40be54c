// Osprey's speed goals, natively:
//   - two identical 1 GiB files in the page cache: compared at >= 2 GB/s (bytes of one file);
//   - scanning two folders of 10,000 files each and pairing them: < 100 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/silent_reporter.h"
#include "common/extension_groups.h"
#include "common/file_reader.h"
#include "osprey/folder_scan.h"
#include "osprey/pair_comparison.h"
#include "osprey/pairing.h"

namespace {

namespace fs = std::filesystem;

using ko::bench::SilentReporter;

fs::path BenchFolder(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / "osprey-bench" / name;
    fs::create_directories(folder);
    return folder;
}

constexpr std::size_t kGibibyte = std::size_t{1} << 30;

// `bytes` of varied, repeatable content, so nothing compresses or deduplicates it away.
void WriteBigFile(const fs::path& path, std::size_t bytes) {
    if (fs::exists(path) && fs::file_size(path) == bytes) return;
    std::ofstream out(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (std::size_t written = 0; written < bytes; written += block.size()) {
        for (char& byte : block) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            byte = static_cast<char>(state >> 56);
        }
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
}

// Brings the file into the page cache, so the benchmark measures the comparison, not the disk.
void ReadOnce(const fs::path& path) {
    ko::FileReader reader;
    reader.Open(path.u16string());
    std::vector<char> block(1 << 20);
    while (reader.Read(block.data(), block.size()) != 0) {
    }
}

void BM_CompareIdenticalGibibyteFiles(benchmark::State& state) {
    osprey::FolderComparison comparison;
    for (const int side : {osprey::kSideA, osprey::kSideB}) {
        const fs::path folder = BenchFolder(side == osprey::kSideA ? "big-a" : "big-b");
        WriteBigFile(folder / "big.bin", kGibibyte);
        ReadOnce(folder / "big.bin");
        comparison.folderPath[side] = folder.u16string();
        comparison.pairs[side] = {{osprey::kPairedNotCompared, u"big.bin", u"*.*", u"", u""}};
    }
    SilentReporter reporter;
    for (auto _ : state) {
        comparison.pairs[osprey::kSideA][0].status = osprey::kPairedNotCompared;
        comparison.pairs[osprey::kSideB][0].status = osprey::kPairedNotCompared;
        osprey::ComparePair(comparison, 0, reporter, nullptr);
        if (comparison.pairs[osprey::kSideA][0].status != osprey::kPairedEqual)
            state.SkipWithError("the two copies did not compare equal");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kGibibyte));
}
BENCHMARK(BM_CompareIdenticalGibibyteFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// Two folders of 10,000 source files of the same names, listed with the default group
// (*.cpp, *.h, *.rc), then paired.
void BM_ScanAndPairTenThousandFilesASide(benchmark::State& state) {
    constexpr int kFiles = 10000;
    fs::path folders[2] = {BenchFolder("many-a"), BenchFolder("many-b")};
    for (const fs::path& folder : folders) {
        if (fs::exists(folder / "file09999.cpp")) continue;
        for (int i = 0; i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "file%05d.%s", i, i % 10 == 0 ? "h" : "cpp");
            std::ofstream(folder / name) << "int value = " << i << ";\n";
        }
    }
    const ko::ExtensionGroupTable groups = ko::DefaultExtensionGroups();
    osprey::FolderComparison comparison;
    for (auto _ : state) {
        for (const int side : {osprey::kSideA, osprey::kSideB})
            osprey::ScanFolder(comparison, side, folders[0].u16string(), folders[1].u16string(),
                               groups, 0);
        osprey::PairFiles(comparison);
        benchmark::DoNotOptimize(comparison.pairs[osprey::kSideA].data());
    }
    if (comparison.pairs[osprey::kSideA].size() != kFiles)
        state.SkipWithError("every file should have found its partner");
}
BENCHMARK(BM_ScanAndPairTenThousandFilesASide)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
