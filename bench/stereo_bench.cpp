// Speed of the stereo conversion on a 4000 x 3000 picture, per picture pixel
// ("sec_per_pixel", shown with an SI prefix: 1.5n is 1.5 ns). The floor is a
// plain copy of the picture's pixels into another buffer of its size.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "stereo/depth_map.h"
#include "stereo/render.h"
#include "stereo/start_conversion.h"

namespace {

const int Width = 4000, Height = 3000, Views = 9;
const double Pixels = (double)Width * Height;

// The converter's images over plain vectors, made once for all benchmarks.
struct Pictures {
    std::vector<uint32_t> picture, depth, result, display, curve, copy;
    StereoImages images;

    Pictures()
        : picture((size_t)Width * Height), depth(picture.size()), result(2 * picture.size()),
          display((size_t)Views * picture.size()), curve(256 * 256), copy(picture.size())
    {
        // Like a photograph: smooth shading, texture, a few objects with
        // hard edges, and a little noise on every channel.
        std::mt19937 rng(7);
        struct Disc { int x, y, r; uint32_t colour; };
        std::vector<Disc> discs;
        for (int i = 0; i < 24; ++i)
            discs.push_back({(int)(rng() % Width), (int)(rng() % Height), 100 + (int)(rng() % 500),
                             (uint32_t)rng() & 0xFFFFFF});
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                double wave = std::sin(x / 37.0) * std::cos(y / 53.0);
                int c[3] = {x * 255 / Width, (int)(127 + 100 * wave), y * 255 / Height};
                for (const Disc& d : discs) {
                    if ((x - d.x) * (x - d.x) + (y - d.y) * (y - d.y) > d.r * d.r) continue;
                    for (int i = 0; i < 3; ++i) c[i] = (c[i] + (int)(d.colour >> (16 - 8 * i) & 255)) / 2;
                }
                uint32_t colour = 0;
                for (int i = 0; i < 3; ++i)
                    colour = colour << 8 | (uint32_t)std::min(std::max(c[i] + (int)(rng() % 5) - 2, 0), 255);
                picture[(size_t)y * Width + x] = colour;
            }
        }
        reset_stereo_parameters();
        update_gamma_table();
        update_s_correct_table();
        reset_run_parameters(Width);
        set(PictureImage, picture, Width, Height);
        set(DepthImage, depth, Width, Height);
        set(ResultImage, result, 2 * Width, Height);
        set(DisplayImage, display, Width, Height);
        set(CurveImage, curve, 256, 256);
        run_depth_map(SModVMap, &images, nullptr);
        render_result(&images, nullptr);
    }
    void set(int n, std::vector<uint32_t>& pixels, int w, int h)
    {
        images.image[n] = {pixels.data(), w, h, 32};
    }
};

Pictures& pictures()
{
    static Pictures p;
    return p;
}

// Times `step` on the 4000 x 3000 images, image 3 being `displayViews`
// pictures wide, and reports the time per picture pixel.
void time_step(benchmark::State& state, int displayViews, void (*step)(Pictures& p, StereoTrace* trace))
{
    Pictures& p = pictures();
    run_depth_map(SModVMap, &p.images, nullptr);
    p.set(DisplayImage, p.display, displayViews * Width, Height);
    StereoTrace trace;
    for (auto _ : state) {
        trace_clear(&trace);
        step(p, &trace);
        benchmark::ClobberMemory();
    }
    state.counters["sec_per_pixel"] =
        benchmark::Counter(Pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_MemoryPass(benchmark::State& state)
{
    time_step(state, 1, [](Pictures& p, StereoTrace*) {
        memcpy(p.copy.data(), p.picture.data(), p.picture.size() * sizeof(uint32_t));
    });
}

void BM_DepthMapSModV(benchmark::State& state)
{
    time_step(state, 1, [](Pictures& p, StereoTrace* t) { run_depth_map(SModVMap, &p.images, t); });
}

void BM_RenderResult(benchmark::State& state)
{
    time_step(state, 1, [](Pictures& p, StereoTrace* t) { render_result(&p.images, t); });
}

void BM_RenderAnaglyph(benchmark::State& state)
{
    time_step(state, 1, [](Pictures& p, StereoTrace* t) { render_anaglyph(&p.images, t); });
}

// What Start computes: the S-correction update with its plot, the "S mod+V"
// map, the result pair and the anaglyph, in one pass over the rows.
void BM_StartConversion(benchmark::State& state)
{
    time_step(state, 1, [](Pictures& p, StereoTrace* t) { run_start_conversion(&p.images, t); });
}

void BM_MultiView9(benchmark::State& state)
{
    Stereo.view_num = Views;
    Stereo.M_shift = Width / 32;
    time_step(state, Views, [](Pictures& p, StereoTrace* t) { render_multi_view(&p.images, t); });
}

BENCHMARK(BM_MemoryPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DepthMapSModV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderResult)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderAnaglyph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartConversion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MultiView9)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
