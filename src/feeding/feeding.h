// Shared machinery of the nutrition phase: the calendar of feeding seasons,
// the requirement terms used by several animal classes, and the conversion
// of a requirement into feed to be bought and its cost.
#pragma once

#include "model/model.h"

struct Run;

// Whole days of a day count or age that the model computes from the inputs:
// cut to the day begun (wholeDays) or rounded to the nearest, halves up
// (roundedDays, for counts of 0 or more).
// The ranges of the inputs keep every such count within a few thousand
// days; one beyond kMaxDays either way, or not finite, throws DaysOutOfRange
// instead of overflowing the integer, and the phase that catches it stops
// the run with stopForDays.
struct DaysOutOfRange {
    double days;
};
inline constexpr double kMaxDays = 1e6;
int wholeDays(double x);
int roundedDays(double x);
[[noreturn]] void stopForDays(Run& run, const DaysOutOfRange& e);

// Extends the change dates of the feeding seasons to four consecutive years
// (nchfst = 4 × nchfs) and tabulates the season of every day number.
void extendCalendar(Model& m);

// Feeding season of day number d: valfs[0] before the first change date,
// valfs[q] from datchfs[q] on.
int seasonOutsideTable(const Model& m, int d);
inline int seasonOf(const Model& m, int d) {
    return d >= 0 && d < cap::DAYS ? m.dayseason[d] : seasonOutsideTable(m, d);
}

// The last day, at most `last` and at least d, of the run of days from d on
// that all lie in the season of d (d itself where the day tables are not
// made).  The day loops add up a run in local sums, in the order of the
// days, and store the sums once: the same additions as into the model's
// bins day by day.
inline int seasonRunEnd(const Model& m, int d, int last) {
    if (d < 0 || d >= cap::DAYS || m.seasonEnd[d] <= d) return d;
    return m.seasonEnd[d] - 1 < last ? m.seasonEnd[d] - 1 : last;
}

// Sex constants c1 .. c6 of the requirements of lambs and young stock, by
// sex class 0 castrates, 1 females, 2 males.
void setSexConstants(Model& m);

// Total birth weight twL[j][p] of a litter of j lambs at parity p.
void litterBirthWeights(Model& m);

// Daily pregnancy requirements on gestation day u (1 on the conception day),
// before the scaling by the litter birth weight (day_terms.cpp).
double pregnancyNEDay(int u);
double pregnancyPDIDay(int u);

// Milk of the lactation curve on lactation day u (1 on the lambing date).
double milkDay(const Model& m, double u);

// One ration of one feeding group and season: contents per kg dry matter,
// dry-matter fraction, losses in per cent and price per kg as fed.
struct Ration {
    double ned, pdid, drym, lossf, prf;
    const Real* nedAt;   // the elements its energy and protein contents are
    const Real* pdidAt;  // read into, for the messages that name them
};

// Feed for the requirement ne (net energy) and pdi (protein) of one bin:
// fe covers the energy, fpdi the protein (costing method 1 only), ff is the
// feed to be bought after losses, the larger of the two (the energy on a
// tie).  Returns the cost ff × prf.  A bin without requirement needs no feed.
// With positiveOnly, fe (fpdi) is formed only for a positive ne (pdi): milk
// that covers a suckling lamb's requirement leaves nothing to buy.
// A ration that is needed but has no energy, dry matter or protein content,
// or losses of 100 per cent or more, stops the run with a message naming the
// animal class, feeding group and season.
double costBin(Run& run, const Ration& r, double ne, double pdi, Real& fe, Real& fpdi, Real& ff, const char* animals,
               int group, int season, bool positiveOnly = false);
