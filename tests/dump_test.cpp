// The dump writer on a hand-filled model state: the weight arrays, the
// write conditions, counts beyond the capacities, and the line formatter
// against printf.
#include "report/dump.h"
#include "report/line_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "model/model.h"
#include "test_util.h"

namespace {

std::string dump(const Model& m) {
    testutil::TempDir dir;
    std::FILE* f = std::fopen((dir / "CHECKS").c_str(), "w");
    writeDump(m, f);
    std::fclose(f);
    return dir.read("CHECKS");
}

std::unique_ptr<Model> baseState() {
    auto m = std::make_unique<Model>();
    resetModel(*m);
    m->LL = 4;
    m->TE = 18;
    m->RR = 2;
    m->TR = 7;
    m->clt = 2;
    m->crossing = 1;
    m->nfs = 2;
    m->typew = 1;
    m->typeb = 2;
    m->ewopt = 0;
    return m;
}

bool has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

}  // namespace

TEST(Dump, WeightArraysAreInterleavedAndWrittenOnlyWhenNonZero) {
    auto m = baseState();
    std::string d = dump(*m);
    EXPECT_FALSE(has(d, "\nev["));  // all 0 before the loop

    m->crossing = 2;
    m->ewopt = 2;
    m->ev[3][0] = 2.0;
    m->ev0[3][0] = 2.5;
    m->evp[3][0] = 0.002;
    m->ev[3][1] = 1.5;
    m->ev0[3][1] = 1.25;
    m->evp[3][1] = 0.0015;
    m->evdiff[3][1] = 16.666;
    m->evdiff[3][2] = -999;   // a skipped trait: no weight and no difference
    m->evdiff[7][1] = -999;
    d = dump(*m);
    EXPECT_TRUE(has(d, "\n\nev[3][0]  =       2.0000\nev0[3][0] =       2.5000\nevp[3][0] =       0.0020\n"
                       "ev[3][1]  =       1.5000\nev0[3][1] =       1.2500\nevp[3][1] =       0.0015\n"
                       "evdiff[3][1] =      16.6660\n\n"))
        << d.substr(d.find("\nev"), 400);
    EXPECT_FALSE(has(d, "evdiff[3][2]"));
    EXPECT_FALSE(has(d, "evdiff[7][1]"));
}

TEST(Dump, ValueConditions) {
    auto m = baseState();
    m->pcl0[1] = 0.3;
    m->pcl0[2] = -0.3;   // written only when positive
    m->pt[4] = -0.5;     // written when its absolute value exceeds 1e-06
    m->pt[5] = 5e-7;
    const std::string d = dump(*m);
    EXPECT_TRUE(has(d, "\npcl0[1] =    0.3000\n"));
    EXPECT_FALSE(has(d, "pcl0[2]"));
    EXPECT_TRUE(has(d, "\npt[4] =    -0.500\n"));
    EXPECT_FALSE(has(d, "pt[5]"));
}

TEST(Dump, CountsBeyondTheCapacitiesNeverReadOutsideTheRecord) {
    auto m = baseState();
    m->LL = 1000;
    m->TE = 100000;
    m->TR = 100000;
    m->RR = 1000;
    m->clt = 1000;
    m->crossing = 50;
    m->nfs = 99;
    m->PP = 10000;
    m->nSCC = 1000;
    m->nfat = 1000;
    m->nprot = 1000;
    std::FILE* f = std::fopen("/dev/null", "w");
    writeDump(*m, f);  // under the sanitizers an access outside would stop here
    std::fclose(f);
}

// The lines are written without printf; they must be the bytes printf
// writes, also for rounding ties, negative zero, values rounding to zero
// and very large values.
TEST(Dump, LinesAreTheBytesOfPrintf) {
    struct Format {
        const char* fmt;
        int indices;
        bool integer;
    };
    const Format formats[] = {{"x = %f\n", 0, false},          {"x[%d] = %9.4f\n", 1, false},
                              {"ev[%d][%d]  = %12.4f\n", 2, false}, {"a = %16.14f\n", 0, false},
                              {"y[%d][%d][%d] = %8.0f\n", 3, false}, {"w = %5.1f\n", 0, false},
                              {"n = %d\n", 0, true},               {"k[%d] = %7d\n", 1, true}};
    const double values[] = {0.0,      -0.0,     0.125,    0.375,     2.5,        -2.5,        1e-07,
                             -4e-05,   0.999995, 123.45675, -99999.96, 1e30,       -3.4028235e38,
                             1.0 / 3,  2.0 / 3,  0.00005,  -0.00005,  12345678.9, float(0.1),  1e-300};
    const int idx[3] = {7, 12, 3};
    for (const Format& f : formats) {
        LineFormat lf;
        ASSERT_TRUE(parseLineFormat(f.fmt, lf)) << f.fmt;
        for (double v : values) {
            if (f.integer && std::abs(v) > 2e9) continue;
            char want[1024], got[1024];
            const int iv = f.integer ? int(v) : 0;  // only whole values within the int range
            switch (f.indices) {
            case 0: f.integer ? std::snprintf(want, sizeof want, f.fmt, iv) : std::snprintf(want, sizeof want, f.fmt, v); break;
            case 1: f.integer ? std::snprintf(want, sizeof want, f.fmt, 7, iv) : std::snprintf(want, sizeof want, f.fmt, 7, v); break;
            case 2: std::snprintf(want, sizeof want, f.fmt, 7, 12, v); break;
            default: std::snprintf(want, sizeof want, f.fmt, 7, 12, 3, v); break;
            }
            *formatLine(got, lf, idx, v) = '\0';
            EXPECT_STREQ(got, want) << f.fmt << " " << v;
        }
    }
    LineFormat lf;
    EXPECT_FALSE(parseLineFormat("x = %g\n", lf));
    EXPECT_FALSE(parseLineFormat("x = %-5d\n", lf));
}

// The fixed-point conversion against printf over random values of every
// magnitude and precision, and over exact ties (odd multiples of
// 2^-(precision + 1)), which printf rounds to even.
TEST(Dump, FixedPointConversionIsPrintfForAnyValue) {
    std::mt19937_64 rng(20261207);
    std::uniform_int_distribution<int> exponent(-80, 70), precision(0, 17), odd(0, 1 << 20);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (int i = 0; i < 200000; ++i) {
        const int p = precision(rng);
        const double v = i % 4 == 0 ? std::ldexp(2.0 * odd(rng) + 1, -(p + 1)) * (i % 8 == 0 ? -1 : 1)
                                    : std::ldexp(unit(rng), exponent(rng));
        char want[512], got[512];
        std::snprintf(want, sizeof want, "%.*f", p, v);
        *formatFixed(got, v, p) = '\0';
        ASSERT_STREQ(got, want) << p << " " << v;
    }
}
