// The half-tone display's area-averaging reduction: a 12-megapixel picture
// shown at zoom 38 (4000 x 3000 onto 1520 x 1140), as 32-bit and 8-bit images.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "image/display_reduce.h"

namespace {

const int Width = 4000, Height = 3000, DisplayWidth = 1520, DisplayHeight = 1140;

void ReduceTwelveMegapixels(benchmark::State& state)
{
    const int bits = (int)state.range(0);
    const int stride = bits == 32 ? Width * 4 : (Width + 3) / 4 * 4;
    std::vector<uint8_t> image((size_t)stride * Height);
    std::mt19937 random(1);
    for (uint8_t& v : image) v = (uint8_t)random();
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = (uint32_t)i * 0x010101u;
    std::vector<uint32_t> display((size_t)DisplayWidth * DisplayHeight);
    for (auto _ : state) {
        bool done = ReduceImageArea(image.data(), Width, Height, stride, bits, palette.data(), display.data(),
                                    DisplayWidth, DisplayHeight);
        benchmark::DoNotOptimize(done);
        benchmark::DoNotOptimize(display.data());
    }
}

} // namespace

BENCHMARK(ReduceTwelveMegapixels)->Arg(32)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
