#include "feeding/day_terms.h"

#include "feeding/feeding.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "model/large_pages.h"

namespace {

std::uint64_t bits(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

// ---- growth lines ----------------------------------------------------------

constexpr int kLineDays = 1 << 13;  // longest line kept
constexpr int kSlots = 1 << 10;     // lines kept per thread (at most half used)

struct Line {
    std::uint64_t W0 = 0, g = 0;  // bit patterns of the line's start weight and gain
    std::size_t start = 0;        // p[0] of the line in the pool
    int days = -1;                // p[0 .. days] computed; -1 for a free slot
};

// The lines of one thread: their values in one pool, found by a hash of
// (W0, g).  When the pool or the table is full, everything is dropped and
// filled anew.  Table and pool live in the thread's large page
// (model/large_pages.h): the pool is filled anew many times in a run.
constexpr std::size_t kPool = std::size_t(96) << 10;  // values kept per thread

struct Lines {
    Line table[kSlots];
    std::size_t top = 0;
    int count = 0;
    double pool[kPool];

    void clear() {
        for (Line& l : table) l.days = -1;
        top = 0;
        count = 0;
    }
};

thread_local Lines* lines = nullptr;

Lines& threadLines() {
    if (!lines) lines = new (threadPageBytes(sizeof(Lines))) Lines;
    return *lines;
}

void fill(double* p, int from, int to, double W0, double g) {
    for (int t = from; t <= to; ++t) p[t] = std::pow(W0 + g * t, 0.75);
}

// ---- lactation curve -----------------------------------------------------

constexpr int kLactationDays = 1 << 11;

struct Lactation {
    std::uint64_t bwo = 0, cwo = 0;
    int days = -1;  // terms 0 .. days computed
    double pw[kLactationDays + 1];
    double ex[kLactationDays + 1];
};

// In the thread's large page.
thread_local Lactation* lactation = nullptr;

// ---- gestation curves ------------------------------------------------------

constexpr int kGestationDays = 1024;

double gompertzNE(int u) { return std::exp(7.6492 - 0.00643 * u - 11.4646 * std::exp(-0.00643 * u)); }
double gompertzPDI(int u) { return std::exp(11.3471 - 0.00601 * u - 11.2205 * std::exp(-0.00601 * u)); }

struct Gestation {
    double ne[kGestationDays], pdi[kGestationDays];
    Gestation() {
        for (int u = 0; u < kGestationDays; ++u) {
            ne[u] = gompertzNE(u);
            pdi[u] = gompertzPDI(u);
        }
    }
};

const Gestation& gestation() {
    static const Gestation g;
    return g;
}

}  // namespace

const double* metabolicWeights(double W0, double g, int last) {
    if (last < 0 || last > kLineDays) return nullptr;
    Lines& L = threadLines();
    const std::uint64_t bw = bits(W0), bg = bits(g);
    std::size_t h = (bw * 0x9E3779B97F4A7C15ull) ^ (bg * 0xC2B2AE3D27D4EB4Full);
    h = (h ^ (h >> 29)) & (kSlots - 1);
    while (L.table[h].days >= 0 && (L.table[h].W0 != bw || L.table[h].g != bg)) h = (h + 1) & (kSlots - 1);
    Line* line = &L.table[h];
    if (line->days >= last) return L.pool + line->start;

    const std::size_t need = std::size_t(last) + 1;
    if (line->days >= 0 && line->start + std::size_t(line->days) + 1 == L.top && line->start + need <= kPool) {
        // The last line of the pool grows in place.
        double* p = L.pool + line->start;
        fill(p, line->days + 1, last, W0, g);
        line->days = last;
        L.top = line->start + need;
        return p;
    }
    if (L.top + need > kPool || (line->days < 0 && 2 * (L.count + 1) > kSlots)) {
        L.clear();
        return metabolicWeights(W0, g, last);
    }
    double* p = L.pool + L.top;
    int from = 0;
    if (line->days >= 0) {  // a line kept further back: moved to the end and extended
        std::memcpy(p, L.pool + line->start, sizeof(double) * std::size_t(line->days + 1));
        from = line->days + 1;
    } else {
        ++L.count;
        line->W0 = bw;
        line->g = bg;
    }
    fill(p, from, last, W0, g);
    line->start = L.top;
    line->days = last;
    L.top += need;
    return p;
}

bool lactationTerms(double bwo, double cwo, int last, const double*& pw, const double*& ex) {
    if (last < 0 || last > kLactationDays) return false;
    if (!lactation) lactation = new (threadPageBytes(sizeof(Lactation))) Lactation;
    Lactation& c = *lactation;
    if (c.bwo != bits(bwo) || c.cwo != bits(cwo)) {
        c.bwo = bits(bwo);
        c.cwo = bits(cwo);
        c.days = -1;
    }
    for (int t = c.days + 1; t <= last; ++t) {
        c.pw[t] = std::pow(double(t), bwo);
        c.ex[t] = std::exp(-cwo * t);
    }
    if (last > c.days) c.days = last;
    pw = c.pw;
    ex = c.ex;
    return true;
}

double pregnancyNEDay(int u) { return u >= 0 && u < kGestationDays ? gestation().ne[u] : gompertzNE(u); }

double pregnancyPDIDay(int u) { return u >= 0 && u < kGestationDays ? gestation().pdi[u] : gompertzPDI(u); }
