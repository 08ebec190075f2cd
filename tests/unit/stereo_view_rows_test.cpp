// View passes run together on a row give the row of the passes run one
// after the other.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "stereo/view_rows.h"

namespace {

struct RowCase {
    int w;
    std::vector<uint8_t> levels; // w + 2: a 0 before and after
    std::vector<uint32_t> picture;
    std::vector<int> shifts;
    std::vector<std::vector<int>> disp;
};

RowCase make_case(std::mt19937& rng)
{
    RowCase c;
    c.w = 12 + (int)(rng() % 300);
    c.levels.assign((size_t)c.w + 2, 0);
    int level = (int)(rng() % 256);
    for (int x = 0; x < c.w; ++x) {
        if (rng() % 4 == 0) level = (int)(rng() % 256);
        c.levels[(size_t)x + 1] = (uint8_t)level;
        c.picture.push_back((uint32_t)rng());
    }
    int passes = 2 + (int)(rng() % 6);
    int top = 1 + (int)(rng() % (rng() % 2 ? c.w / 2 : 3 * c.w)); // small shifts and large ones
    for (int k = 0; k < passes; ++k) {
        int shift = (int)(rng() % (unsigned)top);
        c.shifts.push_back(shift);
        std::vector<int> d(256);
        for (int l = 0; l < 256; ++l) d[(size_t)l] = l * shift / 256;
        c.disp.push_back(d);
    }
    return c;
}

// Blocks k = 0.. of one row, each pass allowed its block plus its spill,
// the row ending `end` columns after the last block's start.
std::vector<ViewRowTarget> targets(RowCase& c, std::vector<uint32_t>& row, bool right, int end)
{
    size_t n = c.shifts.size();
    row.assign((n - 1) * (size_t)c.w + (size_t)end, 0x55555555u);
    std::vector<ViewRowTarget> t;
    for (size_t k = 0; k < n; ++k) {
        int spill = right ? c.disp[k][255] : 0;
        int room = (int)(row.size() - k * (size_t)c.w);
        t.push_back({&row[k * (size_t)c.w], std::min(c.w + spill, room), c.disp[k].data()});
        if (room <= c.w) break;
    }
    return t;
}

TEST(StereoViewRows, TogetherAsOneAfterAnother)
{
    std::mt19937 rng(11);
    for (int i = 0; i < 400; ++i) {
        RowCase c = make_case(rng);
        int end = rng() % 3 == 0 ? 1 + (int)(rng() % (unsigned)c.w) : c.w + (int)(rng() % (unsigned)c.w);
        for (bool right : {false, true}) {
            std::vector<uint32_t> together, apart;
            std::vector<ViewRowTarget> a = targets(c, together, right, end);
            std::vector<ViewRowTarget> b = targets(c, apart, right, end);
            const uint8_t* lev = c.levels.data() + 1;
            if (right) right_view_rows(lev, c.picture.data(), c.w, a.data(), (int)a.size());
            else left_view_rows(lev, c.picture.data(), c.w, a.data(), (int)a.size());
            for (const ViewRowTarget& t : b) {
                if (right) right_view_row(lev, c.picture.data(), c.w, t);
                else left_view_row(lev, c.picture.data(), c.w, t);
            }
            ASSERT_EQ(together, apart) << "case " << i << (right ? " right" : " left") << " width " << c.w
                                       << " passes " << c.shifts.size();
        }
    }
}

} // namespace
