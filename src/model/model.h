// The model state record: every named quantity of the model, with fixed
// capacities.  The quantities, their types, capacities, dump formats,
// index ranges and write conditions are listed once, in fields.def; this
// header turns that list into the record's members.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "model/arr.h"
#include "model/real.h"

// Fixed capacities of the model state; the dumps write most of them under
// these names (fields.def).  A dimension used from index 1 with capacity n
// holds the items 1 .. n - 1.
namespace cap {
inline constexpr int BS = 5;
inline constexpr int CLT = 5;     // litter-size classes (see LT below)
inline constexpr int FE = 6;      // feeding groups of ewes
inline constexpr int FL = 21;     // feeding groups of progeny
inline constexpr int FR = 3;      // feeding groups of rams
inline constexpr int HS = 4;      // keeping technologies
inline constexpr int L = 16;      // reproductive cycles of ewes
inline constexpr int LF = 6;      // fattening variants
inline constexpr int N = 16;
inline constexpr int NCHFS = 30;
inline constexpr int NCLCQ = 4;   // carcass-quality classes of weaned lambs
inline constexpr int NCLCW = 5;   // carcass-weight classes of weaned lambs
inline constexpr int NFAT = 10;   // milk-fat payment classes (from index 0)
inline constexpr int NFS = 5;     // feeding seasons
inline constexpr int NPROT = 10;  // milk-protein payment classes (from index 0)
inline constexpr int NSCC = 7;    // somatic-cell classes (from index 0)
inline constexpr int NT = 36;     // rows of the economic-weight arrays
inline constexpr int SP = 3;

// Litter-size dimension as held in the record: the input check admits up to
// five litter-size classes, so the dimension holds classes 0 .. 5.
inline constexpr int LT = CLT + 1;
// Rows of the tables indexed by progeny category (1 .. 48 used).
inline constexpr int P = 52;
// Breeding cycles of rams (1 .. 5).
inline constexpr int RC = 6;
// The ewe and ram states that the most cycles the inputs admit give (15
// reproductive cycles of ewes, 5 breeding cycles of rams).  The last cycle
// ends with stage 3, yet the stays of rams are set for its fourth stage
// too: the tables hold all stages of every cycle, the ewe states 1 .. 75
// and the ram states 1 .. 20.  The dumps name the capacities C = 100 and
// CR = 30 of the record's first layout.
inline constexpr int CE = (L - 1) * 5 + 1;
inline constexpr int CRS = (RC - 1) * 4 + 1;
// The lactation of ewes by litter size is held for the lactating groups 1
// and 2.
inline constexpr int FEL = 3;
// The requirements of progeny by litter size are held only for the states
// fed as lambs until weaning or the end of artificial rearing (categories 5,
// 6, 30 and 31, feeding groups 1 and 2) and for the pregnant young females
// (categories 15 to 24, groups 4 and 5): their tables hold the categories
// 0 .. 31 and the feeding groups 0 .. 5 (0 .. 2 for the lambs).  The
// dumps clamp their ranges to these capacities, and every element beyond
// them would be 0.
inline constexpr int PB = 32;
inline constexpr int FLB = 6;
inline constexpr int FLA = 3;
// Day numbers for which the feeding season is tabulated: dates lie in the
// years 0 to 10, and the stays of young stock reach three years beyond.
inline constexpr int DAYS = 16 * 365;
}  // namespace cap

// Turns the capacity list "(3, 5, 3)" of a field into ", 3, 5, 3" and "()"
// into nothing, for ArrType<T FIELD_DIMS dims>.
#define FIELD_DIMS(...) __VA_OPT__(, ) __VA_ARGS__

struct Model {
#define Q(type, name, dims, fmt, ranges, vt, pred) ArrType<type FIELD_DIMS dims> name;
#define QEV Q
#define QROW(type, member, row, fmt, ranges, vt, pred)
#define QDECL(type, name, dims) ArrType<type FIELD_DIMS dims> name;
#define QCONST(name, value)
#include "model/fields.def"
#undef Q
#undef QEV
#undef QROW
#undef QCONST
#undef QDECL

    // Working quantities that the dumps do not list.
    int itrait;          // 0 in the base evaluation, else the trait being evaluated
    int icatpb, icatcb;  // progeny-category rows of the reference fattening variants
    int nbsF, nbsM;      // breeding seasons followed for young females and males
    int maleGainSlot;    // the slot under way changes the cross-bred males' rearing gain
    double l2E[cap::CE];  // work vector of the stationary iterations
    // Prices and revenues of breeding animals by progeny category as read
    // (INPUTS10.TXT): categories without animals are given 0 in an
    // evaluation, and these copies bring the input back when a category has
    // animals again.
    Real prsbLin[cap::P][3];
    Real revsbLin[cap::P][3];
    // Progeny states (rows [i][j]) whose feeding bins may hold values: those
    // with animals in the last evaluation (feeding phase of young stock).
    unsigned char lambRows[cap::P][3];
    // Feeding season of every day number below cap::DAYS, from the extended
    // calendar of the feeding seasons (0 where the calendar is not set up).
    int dayseason[cap::DAYS];
    // The first day after d whose season differs from that of d (or
    // cap::DAYS), and the calendar (nchfst + 1, datchfs, valfs) for which the
    // two day tables were made (0 before they are made).
    int seasonEnd[cap::DAYS];
    int calendarKey[1 + 34 + 32];
};

// Sets every quantity to zero and then to the start-up defaults.  Done once
// per run, before any input is read.  Parts that are zero already are not
// written, so that the pages of a fresh record that the run never uses are
// never touched.
void resetModel(Model& m);

// Whether the n bytes at data are all zero; stops soon after the first that
// is not.  Inline: the dump and the kept runs ask it of single values.
inline bool allZeroBytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        std::uint64_t w[8];
        std::memcpy(w, p + i, sizeof w);
        if ((w[0] | w[1] | w[2] | w[3] | w[4] | w[5] | w[6] | w[7]) != 0) return false;
    }
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, sizeof w);
        if (w != 0) return false;
    }
    for (; i < n; ++i)
        if (p[i] != 0) return false;
    return true;
}

// A copy of m in fresh memory of its own.  Only the parts of m that are not
// zero are written: most of the record's capacity is unused, and fresh
// memory is zero until it is written.
struct ModelFree {
    void operator()(Model* p) const;
};
using ModelCopy = std::unique_ptr<Model, ModelFree>;
ModelCopy copyModel(const Model& m);
// A model state of zeros in fresh memory (resetModel gives it the defaults).
ModelCopy newModel();
