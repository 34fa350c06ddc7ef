#pragma once
// The machine's own floor for a load: the time it needs to write the same number of bytes of
// fixed-size records into freshly allocated memory (one heap block a record, as a store
// holds them) and to read a record file once. A benchmark prints its figure beside the floor
// and their ratio.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace benchfloor {

inline double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Writes count records of size bytes, each into its own freshly allocated block. Memory the
// process freed before is given back to the system first, so that the blocks are fresh pages.
inline double WriteRecordsSeconds(std::size_t count, std::size_t size)
{
    ::malloc_trim(0);
    std::vector<unsigned char> pattern(size);
    for (std::size_t i = 0; i < size; ++i) {
        pattern[i] = static_cast<unsigned char>(i * 31u);
    }
    std::vector<unsigned char*> blocks;
    blocks.reserve(count);
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < count; ++i) {
        auto* block = new unsigned char[size];
        std::memcpy(block, pattern.data(), size);
        blocks.push_back(block);
    }
    benchmark::DoNotOptimize(blocks.data());
    const double seconds = Seconds(start);
    for (unsigned char* block : blocks) {
        delete[] block;
    }
    ::malloc_trim(0);
    return seconds;
}

// Reads a file once, start to end; 0 when it cannot be opened.
inline double ReadFileSeconds(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return 0.0;
    }
    std::vector<char> buffer(1 << 20);
    unsigned sum = 0;
    const auto start = std::chrono::steady_clock::now();
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
        sum += static_cast<unsigned char>(buffer[got - 1]);
    }
    benchmark::DoNotOptimize(sum);
    const double seconds = Seconds(start);
    std::fclose(file);
    return seconds;
}

// The figure (seconds a run), the floor and their ratio as counters, in milliseconds.
inline void ReportFloor(benchmark::State& state, double figureSeconds, double floorSeconds)
{
    state.counters["figure_ms"] = figureSeconds * 1000.0;
    state.counters["floor_ms"] = floorSeconds * 1000.0;
    state.counters["ratio"] = floorSeconds > 0 ? figureSeconds / floorSeconds : 0.0;
}

} // namespace benchfloor
