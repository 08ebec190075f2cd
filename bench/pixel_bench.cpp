// Per-pixel cost of the pixel calls on a 4000 x 3000 32-bit image: a
// read-write pass through TAV_GetPixel + TAV_SetPixel, a full-image
// TAV_RGBtoHSV, and the same read-write pass as a plain loop over the buffer
// (the floor the pixel calls are measured against). "per_pixel" is the figure
// to read. Release builds link with interprocedural optimisation, so the
// calls inline into these loops as they do into a user program's.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "image/image_table.h"
#include "tavkit.h"

namespace {

constexpr int Width = 4000, Height = 3000, Slot = 0;

// A 32-bit image of random colours in slot 0, made current, living for the run.
uint32_t* BenchImage()
{
    static std::vector<uint32_t> buffer;
    if (buffer.empty()) {
        buffer.resize((size_t)Width * Height);
        uint32_t s = 2463534242u;
        for (uint32_t& p : buffer) {
            s ^= s << 13;
            s ^= s >> 17;
            s ^= s << 5;
            p = s & 0xFFFFFF;
        }
        ImageSlot slot{};
        slot.inUse = 1;
        slot.bits = 32;
        slot.width = Width;
        slot.height = Height;
        ImageTable[Slot] = slot;
        Pixels32[Slot] = buffer.data();
        Pixels8[Slot] = reinterpret_cast<uint8_t*>(buffer.data());
    }
    CurrentImage = Slot;
    return buffer.data();
}

// Seconds per pixel, printed with its unit (for example "1.5ns").
void ReportPerPixel(benchmark::State& state)
{
    state.counters["per_pixel"] = benchmark::Counter(
        (double)Width * Height, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void MemoryPassFloor(benchmark::State& state)
{
    uint32_t* px = BenchImage();
    for (auto _ : state) {
        for (size_t i = 0; i < (size_t)Width * Height; ++i) px[i] ^= 0x010101;
        benchmark::ClobberMemory();
    }
    ReportPerPixel(state);
}

void GetSetPixelCopy(benchmark::State& state)
{
    BenchImage();
    for (auto _ : state) {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) TAV_SetPixel(x, y, TAV_GetPixel(x, y) ^ 0x010101);
        benchmark::ClobberMemory();
    }
    ReportPerPixel(state);
}

void RGBtoHSVImage(benchmark::State& state)
{
    const uint32_t* px = BenchImage();
    for (auto _ : state) {
        int sum = 0;
        for (size_t i = 0; i < (size_t)Width * Height; ++i) {
            int h, s, v;
            TAV_RGBtoHSV(px[i], &h, &s, &v);
            sum += h + s + v;
        }
        benchmark::DoNotOptimize(sum);
    }
    ReportPerPixel(state);
}

} // namespace

BENCHMARK(MemoryPassFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(GetSetPixelCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(RGBtoHSVImage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
