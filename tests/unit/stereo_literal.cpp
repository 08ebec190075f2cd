// The slow pixel-by-pixel model of the converter's steps (see stereo_literal.h).
#include "stereo_literal.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

int stride8(int width) { return (width + 3) & ~3; }
int red(uint32_t c) { return (c >> 16) & 255; }
int green(uint32_t c) { return (c >> 8) & 255; }
int blue(uint32_t c) { return c & 255; }

} // namespace

void ModelLibrary::create(int n, int width, int height, int bits)
{
    ModelImage& im = image[n];
    im.inUse = true;
    im.bits = bits;
    im.width = width;
    im.height = height;
    im.words.assign(bits == 32 ? (size_t)width * height : 0, 0);
    im.bytes.assign(bits == 8 ? (size_t)stride8(width) * height : 0, 0);
}

int ModelLibrary::select(int n)
{
    if (n < 0 || n >= 5 || !image[n].inUse) return 1;
    for (int i = 7; i > 0; --i) history[i] = history[i - 1];
    history[0] = current;
    current = n;
    return 0;
}

int ModelLibrary::restore()
{
    int n = history[0];
    if (n < 0 || n >= 5 || !image[n].inUse) return 1;
    current = n;
    for (int i = 0; i < 7; ++i) history[i] = history[i + 1];
    return 0;
}

uint32_t ModelLibrary::get(int x, int y) const
{
    const ModelImage& im = image[current];
    if (!im.inUse || (unsigned)x >= (unsigned)im.width || (unsigned)y >= (unsigned)im.height) return 0;
    if (im.bits == 8) return im.bytes[(size_t)y * stride8(im.width) + x];
    return im.words[(size_t)y * im.width + x];
}

void ModelLibrary::plot(int x, int y, uint32_t colour)
{
    ModelImage& im = image[current];
    if (!im.inUse || (unsigned)x >= (unsigned)im.width || (unsigned)y >= (unsigned)im.height) return;
    if (im.bits == 8) im.bytes[(size_t)y * stride8(im.width) + x] = (uint8_t)colour;
    else im.words[(size_t)y * im.width + x] = colour;
}

void ModelLibrary::set(int x, int y, uint32_t colour)
{
    penX = x;
    penY = y;
    plot(x, y, colour);
}

void ModelLibrary::draw_box(int x0, int y0, int x1, int y1, uint32_t border, uint32_t fill)
{
    int xa = std::min(x0, x1), xb = std::max(x0, x1), ya = std::min(y0, y1), yb = std::max(y0, y1);
    for (int x = xa; x <= xb; ++x) {
        plot(x, ya, border);
        plot(x, yb, border);
    }
    for (int y = ya; y <= yb; ++y) {
        plot(xa, y, border);
        plot(xb, y, border);
    }
    penX = xa;
    penY = ya;
    if (xb - xa < 2 || yb - ya < 2) return;
    for (int y = ya + 1; y < yb; ++y)
        for (int x = xa + 1; x < xb; ++x) plot(x, y, fill);
    penX = xb - 1;
    penY = yb - 1;
}

void ModelLibrary::write_block(const std::vector<uint32_t>& values, int x, int w, int h)
{
    for (int j = 0; j < h; ++j)
        for (int k = 0; k < w; ++k) plot(x + k, j, values[(size_t)j * w + k]);
}

StereoImages ModelLibrary::buffers()
{
    StereoImages out = {};
    for (int n = 0; n < 5; ++n) {
        ModelImage& im = image[n];
        if (!im.inUse) continue;
        out.image[n].pixels = im.bits == 8 ? (void*)im.bytes.data() : (void*)im.words.data();
        out.image[n].width = im.width;
        out.image[n].height = im.height;
        out.image[n].bits = im.bits;
    }
    return out;
}

void model_tables(double gamma, double sCorrectSub, int sCorrect, int gammaTable[256], int sTable[256])
{
    for (int i = 0; i < 256; ++i) {
        gammaTable[i] = (int)(std::pow(i / 255.0, 1.0 / gamma) * 255.0);
        int v = (int)(std::pow(i / 255.0, 1.0 / sCorrectSub) * 255.0);
        sTable[i] = v * (255 - sCorrect) / 255;
    }
}

void model_depth_map(ModelLibrary& lib, ModelParameters& p, int kind)
{
    const int divisor = kind == 0 ? 32 : 64; // S map, then V map, S mod, S mod+V
    if (!lib.image[0].inUse) return;
    p.shift = lib.image[0].width / divisor;
    if (!lib.image[1].inUse) return;
    for (int y = 0; y < lib.image[0].height; ++y) {
        for (int x = 0; x < lib.image[0].width; ++x) {
            lib.select(0);
            uint32_t c = lib.get(x, y);
            int M = std::max({red(c), green(c), blue(c)});
            int m = std::min({red(c), green(c), blue(c)});
            int S = M - m, V = M;
            int ms = ((255 - M) * p.S_mod) / 10 + (M - m);
            int d = kind == 0 ? p.gamma[S]
                  : kind == 1 ? p.gamma[V]
                  : kind == 2 ? p.gamma[p.scorr[ms]]
                              : p.gamma[p.scorr[std::max(ms, V)]];
            if (p.reverseDepth) d = 255 - d;
            lib.select(1);
            lib.set(x, y, (uint32_t)d * 0x010101);
        }
    }
    p.loaded = false;
}

namespace {

int model_level(ModelLibrary& lib, const ModelParameters& p, int x, int y)
{
    lib.select(1);
    uint32_t c = lib.get(x, y);
    int v = std::max({red(c), green(c), blue(c)});
    return p.loaded && p.reverseDepth ? 255 - v : v;
}

} // namespace

void model_left_view(ModelLibrary& lib, const ModelParameters& p, int target, int k, int c)
{
    int W = lib.image[1].width, H = lib.image[1].height;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            int d = model_level(lib, p, x, y);
            int s = d * c / 256;
            lib.select(0);
            uint32_t colour = lib.get(x, y);
            if (x - s >= 0) { // a negative block position is dropped
                lib.select(target);
                lib.set(k * W + x - s, y, colour);
            }
            int dn = x + 1 < W ? model_level(lib, p, x + 1, y) : 0;
            if (dn < d) {
                int gap = s - dn * c / 256;
                if (gap >= 1) {
                    uint32_t fill = 0;
                    if (x + 1 < W) {
                        lib.select(0);
                        fill = lib.get(x + 1, y);
                    }
                    for (int q = x - s + 1; q <= x - s + gap; ++q) {
                        if (q < 0) continue;
                        lib.select(target);
                        lib.set(k * W + q, y, fill);
                    }
                }
            }
        }
    }
}

void model_right_view(ModelLibrary& lib, const ModelParameters& p, int m, int c)
{
    int W = lib.image[1].width, H = lib.image[1].height;
    for (int y = 0; y < H; ++y) {
        for (int x = W - 1; x >= 0; --x) {
            int d = model_level(lib, p, x, y);
            int s = d * c / 256;
            lib.select(0);
            uint32_t colour = lib.get(x, y);
            lib.select(3);
            lib.set(m * W + x + s, y, colour);
            int dn = x >= 1 ? model_level(lib, p, x - 1, y) : 0;
            if (dn < d) {
                int gap = s - dn * c / 256;
                if (gap >= 1) {
                    uint32_t fill = 0;
                    if (x >= 1) {
                        lib.select(0);
                        fill = lib.get(x - 1, y);
                    }
                    for (int j = 1; j <= gap; ++j) {
                        lib.select(3);
                        lib.set(m * W + x + s - j, y, fill);
                    }
                }
            }
        }
    }
}

namespace {

// The picture as the block that the copy writes: its pixels as pixel reads give them.
std::vector<uint32_t> picture_block(ModelLibrary& lib)
{
    int saved = lib.current;
    lib.current = 0; // read straight from the buffer: no selection
    std::vector<uint32_t> block;
    for (int y = 0; y < lib.image[0].height; ++y)
        for (int x = 0; x < lib.image[0].width; ++x) block.push_back(lib.get(x, y));
    lib.current = saved;
    return block;
}

bool exist(const ModelLibrary& lib, std::initializer_list<int> numbers)
{
    for (int n : numbers)
        if (!lib.image[n].inUse) return false;
    return true;
}

} // namespace

void model_result(ModelLibrary& lib, const ModelParameters& p)
{
    if (!exist(lib, {0, 1, 2})) return;
    int W = lib.image[0].width, H = lib.image[0].height;
    lib.select(2);
    lib.draw_box(0, 0, W, H, 0, 0);
    model_left_view(lib, p, 2, 0, p.shift);
    std::vector<uint32_t> block = picture_block(lib);
    lib.select(2);
    lib.write_block(block, W, W, H);
}

void model_anaglyph(ModelLibrary& lib)
{
    if (!exist(lib, {0, 2, 3})) return;
    int W = lib.image[0].width, H = lib.image[0].height;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            lib.select(2);
            uint32_t a = lib.get(W + x, y);
            lib.select(2);
            uint32_t b = lib.get(x, y);
            int Y = (299 * red(a) + 587 * green(a) + 114 * blue(a)) / 1000;
            lib.select(3);
            lib.set(x, y, (uint32_t)Y << 16 | (uint32_t)green(b) << 8 | (uint32_t)blue(b));
        }
    }
}

void model_interlace(ModelLibrary& lib, int mode, int top)
{
    if (!exist(lib, {0, 2, 3})) return;
    int W = lib.image[0].width, H = lib.image[0].height;
    for (int y = 0; y < H; ++y) {
        bool even = (top + y) % 2 == 0; // C's % keeps the sign: -3 % 2 is -1, odd
        for (int x = 0; x < W; ++x) {
            bool picture = even ? mode == 1 : mode == 2;
            lib.select(2);
            uint32_t v = lib.get(picture ? W + x : x, y);
            lib.select(3);
            lib.set(x, y, v);
        }
    }
}

void model_multi_view(ModelLibrary& lib, const ModelParameters& p)
{
    if (!exist(lib, {0, 1, 3})) return;
    int W = lib.image[0].width, H = lib.image[0].height;
    int h = p.view_num / 2;
    for (int k = 0; k <= h - 1; ++k) model_left_view(lib, p, 3, k, (h - k) * p.M_shift);
    std::vector<uint32_t> block = picture_block(lib);
    lib.select(3);
    lib.write_block(block, h * W, W, H);
    for (int m = h + 1; m <= 2 * h; ++m) model_right_view(lib, p, m, (m - h) * p.M_shift);
}

void model_plot_curve(ModelLibrary& lib, const int sTable[256])
{
    if (!lib.image[4].inUse) return;
    lib.select(4);
    lib.draw_box(0, 0, 256, 256, 0, 0);
    for (int x = 0; x < 256; ++x) lib.set(x, 256 - sTable[x], 0xFFFFFF);
}

void fill_picture(ModelImage& im, unsigned seed)
{
    std::mt19937 rng(seed);
    for (int y = 0; y < im.height; ++y) {
        for (int x = 0; x < im.width; ++x) {
            int noise = (int)(rng() % 64) - 32;
            int r = std::clamp(x * 255 / std::max(im.width - 1, 1) + noise, 0, 255);
            int g = std::clamp(y * 255 / std::max(im.height - 1, 1) - noise, 0, 255);
            int b = (int)(rng() % 256);
            uint32_t top = rng() % 7 == 0 ? 0xA5000000u : 0;
            if (rng() % 11 == 0) r = g = b; // some greys
            uint32_t c = top | (uint32_t)r << 16 | (uint32_t)g << 8 | (uint32_t)b;
            if (im.bits == 8) im.bytes[(size_t)y * stride8(im.width) + x] = (uint8_t)(rng() % 256);
            else im.words[(size_t)y * im.width + x] = c;
        }
    }
}

void fill_depth(ModelImage& im, unsigned seed)
{
    std::mt19937 rng(seed);
    for (int y = 0; y < im.height; ++y) {
        int level = (int)(rng() % 256);
        for (int x = 0; x < im.width; ++x) {
            if (rng() % 3 == 0) level = (int)(rng() % 4 == 0 ? rng() % 256 : std::clamp(level + (int)(rng() % 61) - 30, 0, 255));
            uint32_t c = (uint32_t)level * 0x010101u;
            if (rng() % 9 == 0) c = (uint32_t)level << ((rng() % 3) * 8) | (uint32_t)(rng() % (level + 1)); // coloured
            if (rng() % 13 == 0) c |= 0x7F000000u;
            if (im.bits == 8) im.bytes[(size_t)y * stride8(im.width) + x] = (uint8_t)level;
            else im.words[(size_t)y * im.width + x] = c;
        }
    }
}

void scramble_state(ModelLibrary& lib, unsigned seed)
{
    std::mt19937 rng(seed);
    lib.current = (int)(rng() % 5);
    for (int& h : lib.history) h = (int)(rng() % 5);
    lib.penX = (int)(rng() % 1000) - 500;
    lib.penY = (int)(rng() % 1000) - 500;
}

namespace {
ModelLibrary* ReplayTarget;
void replay_select(int n) { ReplayTarget->select(n); }
void replay_touch(int x, int y) { ReplayTarget->set(x, y, ReplayTarget->get(x, y)); }
} // namespace

void replay_into(ModelLibrary& lib, const StereoTrace& trace)
{
    ReplayTarget = &lib;
    trace_replay(&trace, replay_select, replay_touch);
    ReplayTarget = nullptr;
}

::testing::AssertionResult same_state(const ModelLibrary& expected, const ModelLibrary& actual)
{
    for (int n = 0; n < 5; ++n) {
        const ModelImage& e = expected.image[n];
        const ModelImage& a = actual.image[n];
        if (e.inUse != a.inUse) return ::testing::AssertionFailure() << "image " << n << " existence";
        for (size_t i = 0; i < e.words.size(); ++i)
            if (e.words[i] != a.words[i])
                return ::testing::AssertionFailure()
                       << "image " << n << " pixel (" << i % e.width << ", " << i / e.width << "): expected 0x"
                       << std::hex << e.words[i] << ", got 0x" << a.words[i];
        for (size_t i = 0; i < e.bytes.size(); ++i)
            if (e.bytes[i] != a.bytes[i])
                return ::testing::AssertionFailure() << "image " << n << " byte " << i << ": expected "
                                                     << (int)e.bytes[i] << ", got " << (int)a.bytes[i];
    }
    if (expected.current != actual.current)
        return ::testing::AssertionFailure() << "current " << expected.current << " vs " << actual.current;
    for (int i = 0; i < 8; ++i)
        if (expected.history[i] != actual.history[i])
            return ::testing::AssertionFailure() << "history entry " << i << ": " << expected.history[i] << " vs "
                                                 << actual.history[i];
    if (expected.penX != actual.penX || expected.penY != actual.penY)
        return ::testing::AssertionFailure() << "pen (" << expected.penX << ", " << expected.penY << ") vs ("
                                             << actual.penX << ", " << actual.penY << ")";
    return ::testing::AssertionSuccess();
}
