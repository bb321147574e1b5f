// Reading a .reg file: the target is a million value lines in under two seconds, whether they sit in
// one key or spread over many keys (a hand-made or generated store of 50 MB and more).
#include <benchmark/benchmark.h>

#include <string>

#include "core/store/RegFile.h"

using namespace tavrin;

namespace {

// `lines` value lines, `perKey` to a key, each key under one of a hundred parents.
std::string storeText(long lines, long perKey) {
    std::string text = "REGEDIT4\n";
    for (long i = 0; i < lines; ++i) {
        if (i % perKey == 0) {
            const long key = i / perKey;
            text += "\n[SOFTWARE\\QUILLON\\BULK\\Group" + std::to_string(key % 100) + "\\Key" +
                    std::to_string(key) + "]\n";
        }
        text += "\"Value" + std::to_string(i) + "\"=\"some text of a setting " + std::to_string(i) + "\"\n";
    }
    return text;
}

void BM_ParseRegFile(benchmark::State& state) {
    const std::string text = storeText(state.range(0), state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(RegFile::parse(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * state.iterations());
    state.counters["lines"] = static_cast<double>(state.range(0));
}
// {value lines, values per key}
BENCHMARK(BM_ParseRegFile)
    ->Args({10000, 10000})
    ->Args({40000, 40000})
    ->Args({1000000, 1000000})
    ->Args({1000000, 100})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_WriteRegFile(benchmark::State& state) {
    const RegTree tree = RegFile::parse(storeText(state.range(0), state.range(1))).tree;
    for (auto _ : state) benchmark::DoNotOptimize(RegFile::write(tree));
}
BENCHMARK(BM_WriteRegFile)->Args({1000000, 100})->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
