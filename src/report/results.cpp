#include "report/results.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "context/run.h"
#include "economics/weights.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

constexpr double kPresent = 1e-06;

// x / d, or 0 where the divisor is 0 (a group without animals).
double ratio(double x, double d) { return d != 0 ? x / d : 0.0; }

// Progeny categories of one table, in the order of its rows.
using Cats = std::vector<int>;

// Lambs until weaning and lambs slaughtered at weaning.
Cats setA() { return {2, 5, 6, 7, 30, 31, 32}; }
// Young breeding females.
Cats setB() { return {4, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}; }
// Young breeding males.
Cats setC() { return {29, 38, 39, 40, 41, 42}; }
// Fattening variants of females, males and castrates.
Cats setD(const Model& m) {
    Cats d;
    for (int s = 8; s <= 7 + m.lf[1]; ++s) d.push_back(s);
    for (int s = 33; s <= 32 + m.lf[2]; ++s) d.push_back(s);
    for (int s = 43; s <= 42 + m.lf[0]; ++s) d.push_back(s);
    return d;
}
// Progeny dead during fattening.
Cats setE() { return {3, 28, 48}; }

class Writer {
public:
    explicit Writer(Run& run) : run_(run), m(run.m), out_(run.res) {}

    void write() {
        ewes();
        eweTraits();
        rams();
        progeny();
        eweWeights();
        ramWeights();
        milk();
        feed();
        nonFeedCosts();
        revenues();
        saleCategories();
        classesAndPurchases();
        totals();
        weights();
    }

private:
    Run& run_;
    const Model& m;
    std::FILE* out_;
    int sec_ = 1;  // section number 3.sec_
    int sub_ = 1;  // subsection number 3.sec_.sub_

    // --- fragments, headings and rows --------------------------------------

    void copy() { outputrw(run_.texts, out_); }
    void skip(int n = 1) {
        for (int i = 0; i < n; ++i) outputr(run_.texts);
    }

    void put(const char* fmt, ...) __attribute__((format(printf, 2, 3))) {
        va_list ap;
        va_start(ap, fmt);
        std::vfprintf(out_, fmt, ap);
        va_end(ap);
    }

    // The heading of the next section; sections 3.2 to 3.4 have a blank
    // after the number, the later ones none.
    void section() {
        ++sec_;
        put(sec_ <= 4 ? "\n\n3.%d " : "\n\n3.%d", sec_);
    }
    void subsection() { put(sec_ <= 4 ? "\n\n3.%d.%d " : "\n\n3.%d.%d", sec_, sub_); }

    // A row whose label is the next fragment and that exists only when
    // `present` holds; otherwise its fragment is skipped.
    template <class F>
    void conditional(bool present, F&& row) {
        if (present) {
            copy();
            row();
        } else {
            skip();
        }
    }

    // A value by genotype column: both columns with `both` when the flock
    // is crossed, the pure-bred value with `pureOnly` otherwise.
    void pair(const char* both, const char* pureOnly, double a, double b) {
        if (m.crossing == 2) put(both, a, b);
        else put(pureOnly, a);
    }
    static constexpr const char* kG[2] = {"%14.0f %17.0f", "%14.0f             -"};
    static constexpr const char* kW3[2] = {"%8.3f %8.3f", "%8.3f     -"};
    void pairG(double a, double b) { pair(kG[0], kG[1], a, b); }
    void pairW3(double a, double b) { pair(kW3[0], kW3[1], a, b); }

    // Pure-bred and cross-bred value; the cross-bred one only where the
    // flock is crossed and it is present.
    void printcb(const char* both, const char* pureOnly, Real a, Real b) {
        if (m.crossing == 2 && b > kPresent) put(both, double(a), double(b));
        else put(pureOnly, double(a));
    }
    void printcb8_2(Real a, Real b) { printcb("%8.2f %8.2f", "%8.2f      -", a, b); }
    void printcb9_3(Real a, Real b) { printcb("%9.3f %9.3f", "%9.2f       -", a, b); }

    bool present(int s, int k) const { return m.l1skL[s][k] > kPresent; }
    double crossBred(const Cats& cats) const {
        double sum = 0;
        for (int s : cats) sum += m.l1skL[s][2];
        return sum;
    }
    bool fattening() const { return m.fatpb + m.fatcb > 0; }
    bool milked() const { return m.typeb == 1; }
    int eweStates() const { return 3 * m.nstgE; }

    // Rows of a progeny table in column k: the categories with animals.
    template <class F>
    void rows(const Cats& cats, int k, F&& row) {
        for (int s : cats)
            if (present(s, k)) row(s);
    }
    // Rows of a table over both genotype columns (fattening variants and
    // progeny dead in fattening): category-major, column after column.
    template <class F>
    void rowsByColumn(const Cats& cats, F&& row) {
        for (int s : cats)
            for (int k = 1; k <= m.crossing; ++k)
                if (present(s, k)) row(s, k);
    }

    // --- 3.1 ewe flock structure -------------------------------------------

    void ewes() {
        copy();
        put("\n3.%d ", sec_);
        copy();
        copy();
        put("%d", m.kE);

        subsection();
        copy();
        sub_ = 2;
        for (int s = 1; s <= m.TE; ++s) put(s < m.TE ? "  Category %3d: %9.5f\n" : "  Category %3d: %9.5f", s, m.l1E[s]);
        copy();

        subsection();
        copy();
        sub_ = 1;
        double sum = 0;
        for (int c = 1; c <= m.LL; ++c) {
            put(c == 1 ? "\nReproductive cycle %2d: %8.4f\n" : "Reproductive cycle %2d: %8.4f\n", c, m.l4E[c]);
            sum += m.l4E[c];
        }
        put("-------------------------------\n");
        put("Sum:                   %8.4f", sum);
        copy();
    }

    // --- 3.2 ewe traits ----------------------------------------------------

    void eweTraits() {
        section();
        copy();
        for (double x : {double(m.pdiedEp), double(m.pcullhEp), double(m.pcullmEp), double(m.pcullfcEp),
                         ratio(m.l1E[m.TE] * 100, m.l4E[1])}) {
            copy();
            put("%7.2f", x);
        }
        for (double x : {double(m.avlifelE), double(m.avlifeyE), m.avconrateE * 100.0}) {
            copy();
            put("%8.2f", x);
        }

        copy();
        put("\n");
        for (int c = 1; c <= m.LL; ++c)
            put(c < m.LL ? "  Reproductive cycle %2d: %8.2f\n" : "  Reproductive cycle %2d: %8.2f", c,
                double(m.avlitpE[c]));
        copy();
        put("%8.2f", double(m.avlitE));

        // Lambs by litter-size class per lamb born; the classes 3 and 4
        // only where the flock has them.
        auto perLamb = [&](Real x) { put("%7.3f", ratio(x, m.Nlamb)); };
        auto byClass = [&](const auto& v) {
            copy();
            perLamb(v[0][1]);
            copy();
            perLamb(v[0][2]);
            conditional(m.clt > 2, [&] { perLamb(v[0][3]); });
            conditional(m.clt > 3, [&] { perLamb(v[0][4]); });
        };
        byClass(m.nbtL);
        if (m.typew == 1) {
            copy();
            perLamb(m.NwL[0]);
            byClass(m.nwL);
        } else {
            skip(5);
        }
        if (m.typew == 2) {
            copy();
            perLamb(m.NarL[0]);
            byClass(m.narL);
        } else {
            skip(5);
        }

        copy();
        put("%7.3f", double(m.pdiedbL[1][1]));
        copy();
        put("%7.3f", double(m.pdiedbL[2][1]));
        conditional(m.clt > 2, [&] { put("%7.3f", double(m.pdiedbL[3][1])); });
        conditional(m.clt > 3, [&] { put("%7.3f", double(m.pdiedbL[4][1])); });
    }

    // --- 3.3 rams ----------------------------------------------------------

    void rams() {
        section();
        copy();
        copy();
        put("%d", m.kR);

        subsection();
        copy();
        ++sub_;
        for (int s = 1; s <= m.TR; ++s) put(s < m.TR ? "  Category %3d: %9.5f\n" : "  Category %3d: %9.5f", s, m.l1R[s]);
        copy();

        subsection();
        copy();
        sub_ = 1;
        for (int r = 1; r <= m.RR; ++r) {
            if (r == 1) put("\n");
            if (m.crossing == 1)
                put("      %2d       %6.4f        %6.4f                -", r, m.l4R[r], m.l5R[r][1]);
            else
                put("      %2d       %6.4f        %6.4f              %6.4f", r, m.l4R[r], m.l5R[r][1], m.l5R[r][2]);
            if (r == 1 || r < m.RR) put("\n");
        }
        copy();
    }

    // --- 3.4 progeny -------------------------------------------------------

    void progeny() {
        section();
        copy();
        subsection();
        copy();
        ++sub_;
        copy();
        for (int s = 1; s <= m.PP; ++s) {
            if (m.l1skL[s][0] <= kPresent) continue;
            put("\n   %2d            %6.4f", s, double(m.l1skL[s][1]));
            if (m.crossing == 1) put("           -             -");
            else put("        %6.4f        %6.4f", double(m.l1skL[s][2]), double(m.l1skL[s][0]));
        }

        copy();
        double crossed = 0;
        for (int c = 1; c <= m.LL; ++c) crossed += m.pcrossE[c - 1] * m.l3E[c];
        put("%8.2f", crossed * 100);
        copy();
        put("%8.3f", double(m.nherd[1]));
        copy();
        put("%8.3f", double(m.nherd[2]));
        copy();
        if (m.crossing == 2 && m.psp[1][2][2] > kPresent)
            put("%8.4f %8.4f", m.pmat[1][1][1] * 100.0, m.pmat[1][1][2] * 100.0);
        else
            put("%8.4f    -", m.pmat[1][1][1] * 100.0);
        copy();
        put("%8.4f", m.pmat[2][1][1] * 100.0);

        gainsUntil(m.adgbwL, m.avww);
        if (m.typew == 2) gainsUntil(m.adgwarL, m.avwar);
        else skip(11);

        rearing();
    }

    // Daily gains in g by sex and litter-size class, and the mean weight at
    // the end, until weaning or in artificial rearing.
    template <class Gain, class Weight>
    void gainsUntil(const Gain& adg, const Weight& w) {
        subsection();
        copy();
        ++sub_;
        for (int sex = 1; sex <= 2; ++sex) {
            auto gain = [&](int lt) { pairG(adg[sex][lt][1] * 1000.0, adg[sex][lt][2] * 1000.0); };
            copy();
            gain(1);
            copy();
            gain(2);
            conditional(m.clt > 2, [&] { gain(3); });
            conditional(m.clt > 3, [&] { gain(4); });
            copy();
            pairW3(w[sex][1], w[sex][2]);
        }
    }

    // Weights and ages of young breeding animals at their breeding seasons.
    void rearing() {
        subsection();
        copy();
        ++sub_;
        for (int sex = 1; sex <= 2; ++sex) {
            // The cross-bred age is shown where cross-bred young animals of
            // this sex are reared.
            auto age = [&](int bs) {
                const double a = m.ager[sex][bs] / 30.4;
                printcb8_2(a, m.psp[sex][2][2] > kPresent ? a : 0.0);
            };
            auto weight = [&](int bs) { printcb9_3(m.wrL[sex][bs][1], m.wrL[sex][bs][2]); };
            copy();
            weight(1);
            copy();
            printcb9_3(m.wmat[sex][1], m.wmat[sex][2]);
            copy();
            age(1);
            copy();
            weight(2);
            copy();
            age(2);
            if (sex == 1) {
                if (m.l1skL[22][1] + m.l1skL[22][2] > kPresent) {
                    copy();
                    weight(3);
                    copy();
                    age(3);
                } else {
                    skip(2);
                }
            }
        }
    }

    // --- 3.5 ewe weights, 3.6 rams, 3.7 milk -----------------------------

    void eweWeights() {
        sub_ = 1;
        section();
        copy();
        for (int c = 1; c <= 3; ++c) {
            copy();
            put("%8.3f", double(m.wlE[c]));
            copy();
            put("%8.2f", m.ageE[c] / 30.4);
        }
    }

    void ramWeights() {
        section();
        copy();
        copy();
        printcb9_3(m.wbR[1][1], m.wbR[1][2]);
        copy();
        printcb8_2(m.ageR[1][1] / 30.4, m.ageR[1][2] / 30.4);
    }

    void milk() {
        section();
        copy();
        copy();
        put("%3d", m.datdry - m.datlamb);
        conditional(milked(), [&] { put("%3d", m.lengthmp); });
        copy();
        put("%8.3f", double(m.tmilkw));
        // Milk sold before weaning: only milked breeds sell milk then.
        Real sold = 0;
        if (milked()) {
            double sum = 0;
            for (int c = 1; c <= m.LL; ++c) sum += m.milksw[c] * m.l3E[c];
            sold = sum;
        }
        conditional(milked(), [&] { put("%8.3f", double(sold)); });
        copy();
        put("%8.3f", m.tmilkw - sold);
        if (milked()) {
            copy();
            for (int c = 1; c <= m.LL; ++c) put("\n  Reproductive cycle %2d: %8.3f", c, double(m.milkmpar[c]));
            copy();
            put("%8.3f", double(m.tmilkm));
            copy();
            put("%6d", m.dmilkst);
            copy();
            put("%8.3f", double(m.tmilkst));
        } else {
            skip(4);
        }
    }

    // --- 3.8 feed ------------------------------------------------------------

    void feed() {
        section();
        copy();
        subsection();
        copy();
        copy();
        eweFeed();
        copy();
        copy();
        for (int s = 1; s <= eweStates(); ++s)
            put("\n%5d %14.2f %14.2f", s, double(m.costfE[s]), double(m.costwatE[s]));
        copy();
        ++sub_;

        subsection();
        copy();
        copy();
        feedTable(m.TR, m.fR, m.ffR);
        copy();
        copy();
        for (int s = 1; s <= m.TR; ++s)
            if (m.l1R[s] > kPresent) feedCostRow(s, m.costfR[s], m.costwatR[s]);
        copy();
        ++sub_;

        subsection();
        copy();
        copy();
        feedTable(m.PP, m.fL, m.ffL);
        copy();
        copy();
        for (int s = 1; s <= m.PP; ++s)
            if (m.costfL[s][1] + m.costfL[s][2] + m.costwatL[s][1] + m.costwatL[s][2] > kPresent)
                feedCostRow(s, m.costfL[s], m.costwatL[s]);
        copy();
        sub_ = 1;
    }

    // Feed of the ewe states of the first three cycles; the feed of the
    // suckling groups is given per ewe of the group.
    void eweFeed() {
        for (int s = 1; s <= eweStates(); ++s) {
            const int c = int(std::ceil(s / 5.0 - 0.01));
            for (int f = 1; f <= m.fE; ++f) {
                double d = 1;
                if (f == 1) {
                    d = ratio((m.PsuckE[0][c] + m.PsuckE[1][c]) * m.plambE[s], m.l3E[c]);
                } else if (f == 2) {
                    double suckling = 0;
                    for (int lt = 2; lt <= m.clt; ++lt) suckling += m.PsuckE[lt][c];
                    d = ratio(suckling * m.plambE[s], m.l3E[c]);
                }
                for (int n = 1; n <= m.nfs; ++n)
                    if (m.ffE[s][f][n] > kPresent)
                        put("\n%5d     %7d     %7d            %10.1f", s, f, n, ratio(m.ffE[s][f][n], d));
            }
        }
    }

    // Feed of rams or progeny by state, feeding group and season, for both
    // genotype columns.
    template <class Table>
    void feedTable(int states, int groups, const Table& ff) {
        for (int s = 1; s <= states; ++s)
            for (int f = 1; f <= groups; ++f)
                for (int n = 1; n <= m.nfs; ++n) {
                    const double pure = ff[s][1][f][n], cross = ff[s][2][f][n];
                    if (pure + cross <= kPresent) continue;
                    put("\n%5d     %5d     %4d     ", s, f, n);
                    if (pure > kPresent) put("%10.1f      ", pure);
                    else put("       -        ");
                    if (cross > kPresent) put("%10.1f", cross);
                    else put("       -  ");
                }
    }

    void feedCostRow(int s, const Real* cost, const Real* water) {
        if (m.crossing == 2)
            put("\n%3d %12.2f %12.2f %14.2f %12.2f", s, double(cost[1]), double(cost[2]), double(water[1]),
                double(water[2]));
        else
            put("\n%3d %12.2f        -     %14.2f        -", s, double(cost[1]), double(water[1]));
    }

    // --- 3.9 costs other than feed ---------------------------------------

    void nonFeedCosts() {
        section();
        copy();
        subsection();
        copy();
        for (int s = 1; s <= eweStates(); ++s)
            put("\n%3d   %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f", s, double(m.costvetE[s]), double(m.costlabE[s]),
                double(m.costsheE[s]), double(m.costfixE[s]), double(m.costbedE[s]), double(m.costbreedE[s]),
                double(m.costskE[s]));
        copy();
        if (milked()) {
            copy();
            for (int s = 1; s <= eweStates(); ++s)
                put("\n%3d   %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f", s, double(m.costmarkE[s]), double(m.costdiedE[s]),
                    double(m.costmilkE[s]), double(m.costcheeseE[s]), double(m.costnfE[s]), double(m.costE[s]));
            copy();
        } else {
            skip(2);
        }
        if (!milked()) {
            copy();
            for (int s = 1; s <= eweStates(); ++s)
                put("\n%3d   %8.2f %8.2f %8.2f %8.2f", s, double(m.costmarkE[s]), double(m.costdiedE[s]),
                    double(m.costnfE[s]), double(m.costE[s]));
            copy();
        } else {
            skip(2);
        }
        copy();
        put("%9.2f", double(m.TcostsE));
        ++sub_;

        ramCosts(1);
        if (m.crossing == 2) ramCosts(2);
        else skip(5);

        progenyCosts(setA(), 1, false);
        if (m.crossing == 2) progenyCosts(setA(), 2, false);
        else skip(4);
        for (const Cats& cats : {setB(), setC()}) {
            progenyCosts(cats, 1, true);
            if (m.crossing == 2 && crossBred(cats) > kPresent) progenyCosts(cats, 2, true);
            else skip(4);
        }

        if (fattening()) {
            subsection();
            copy();
            fatteningCosts(setD(m));
            copy();
            copy();
            rowsByColumn(setD(m), [&](int s, int k) {
                put("\n%3d %4d   %8.2f %9.2f %9.2f %9.2f", s, k, double(m.costskL[s][k]), double(m.costmarkL[s][k]),
                    double(m.costnfL[s][k]), double(m.costL[s][k]));
            });
            copy();
            ++sub_;
        } else {
            skip(4);
        }
        if (fattening()) {
            subsection();
            copy();
            fatteningCosts(setE());
            copy();
            copy();
            rowsByColumn(setE(), [&](int s, int k) {
                put("\n%3d %4d   %8.2f %9.2f %9.2f", s, k, double(m.costdiedL[s][k]), double(m.costnfL[s][k]),
                    double(m.costL[s][k]));
            });
            copy();
        } else {
            skip(4);
        }
    }

    // The first table of the costs of fattened lambs and of progeny dead in
    // fattening, by category and genotype column.
    void fatteningCosts(const Cats& cats) {
        rowsByColumn(cats, [&](int s, int k) {
            put("\n%3d %4d   %8.2f %9.2f %9.2f %9.2f %9.2f", s, k, double(m.costvetL[s][k]), double(m.costlabL[s][k]),
                double(m.costsheL[s][k]), double(m.costfixL[s][k]), double(m.costbedL[s][k]));
        });
    }

    // The non-feed costs of the rams of genotype column k, and their sum
    // over the ram states.
    void ramCosts(int k) {
        subsection();
        copy();
        for (int s = 1; s <= m.TR; ++s)
            if (m.l1aR[s][k] > kPresent)
                put("\n%3d   %8.2f %9.2f %9.2f %9.2f %9.2f %9.2f", s, double(m.costvetR[s][k]),
                    double(m.costlabR[s][k]), double(m.costsheR[s][k]), double(m.costfixR[s][k]),
                    double(m.costbedR[s][k]), double(m.costskR[s][k]));
        copy();
        copy();
        for (int s = 1; s <= m.TR; ++s)
            if (m.l1aR[s][k] > kPresent)
                put("\n%3d   %8.2f %9.2f %9.2f %9.2f %9.2f", s, double(m.costmarkR[s][k]), double(m.costdiedR[s][k]),
                    double(m.costpurchR[s][k]), double(m.costnfR[s][k]), double(m.costR[s][k]));
        copy();
        copy();
        double sum = 0;
        for (int s = 1; s <= m.TR; ++s) sum += m.costR[s][k] * m.l1R[s];
        put("%9.2f", sum);
        ++sub_;
    }

    // The non-feed costs of one progeny set in genotype column k; young
    // breeding animals have the costs of breeding as a column of their own.
    void progenyCosts(const Cats& cats, int k, bool breeding) {
        subsection();
        copy();
        rows(cats, k, [&](int s) {
            put("\n%3d  %8.2f %9.2f %9.2f %9.2f %9.2f %9.2f", s, double(m.costvetL[s][k]), double(m.costlabL[s][k]),
                double(m.costsheL[s][k]), double(m.costfixL[s][k]), double(m.costbedL[s][k]),
                double(m.costskL[s][k]));
        });
        copy();
        copy();
        rows(cats, k, [&](int s) {
            if (breeding)
                put("\n%3d  %8.2f %9.2f %9.2f %9.2f %9.2f", s, double(m.costmarkL[s][k]), double(m.costdiedL[s][k]),
                    double(m.costbreedL[s][k]), double(m.costnfL[s][k]), double(m.costL[s][k]));
            else
                put("\n%3d  %8.2f %9.2f %9.2f %9.2f", s, double(m.costmarkL[s][k]), double(m.costdiedL[s][k]),
                    double(m.costnfL[s][k]), double(m.costL[s][k]));
        });
        copy();
        ++sub_;
    }

    // --- 3.10 revenues -------------------------------------------------------

    void revenues() {
        sub_ = 1;
        section();
        copy();
        subsection();
        copy();
        prices();
        ++sub_;

        subsection();
        copy();
        for (int s = 1; s <= eweStates(); ++s)
            put("\n%5d     %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f", s, double(m.revwE[s]), double(m.revcE[s]),
                double(m.revskrE[s]), double(m.revsktE[s]), double(m.revmanE[s]), double(m.revE[s]));
        copy();
        if (milked()) {
            copy();
            for (int s = 1; s <= eweStates(); ++s)
                put("\n%5d     %9.2f %9.2f", s, double(m.revmilkE[s]), double(m.revcheeseE[s]));
            copy();
        } else {
            skip(2);
        }
        copy();
        put("%9.2f", double(m.TrevE));
        ++sub_;

        ramRevenues(1);
        if (m.crossing == 2) ramRevenues(2);
        else skip(3);

        progenyRevenues(setA(), 1, false);
        if (m.crossing == 2) progenyRevenues(setA(), 2, false);
        else skip(2);
        for (const Cats& cats : {setB(), setC()}) {
            progenyRevenues(cats, 1, true);
            if (m.crossing == 2 && crossBred(cats) > kPresent) progenyRevenues(cats, 2, true);
            else skip(2);
        }

        if (fattening()) {
            subsection();
            copy();
            rowsByColumn(setD(m), [&](int s, int k) {
                put("\n%3d %4d    %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f", s, k, double(m.revwL[s][k]),
                    double(m.revcL[s][k]), double(m.revskrL[s][k]), double(m.revsktL[s][k]), double(m.revmanL[s][k]),
                    double(m.revL[s][k]));
            });
            copy();
            ++sub_;
        } else {
            skip(2);
        }
        if (fattening()) {
            subsection();
            copy();
            rowsByColumn(setE(), [&](int s, int k) {
                put("\n%3d %4d    %8.2f %8.2f %8.2f", s, k, double(m.revwL[s][k]), double(m.revmanL[s][k]),
                    double(m.revL[s][k]));
            });
            copy();
        } else {
            skip(2);
        }
    }

    // The prices of the price systems in use, by genotype column.
    void prices() {
        conditional(m.priceS <= 2, [&] { printcb8_2(m.prlwS[1], m.prlwS[2]); });
        conditional(m.priceS > 2, [&] { printcb8_2(m.prcwS[1], m.prcwS[2]); });
        conditional(m.pricewL == 1 || m.pricewL == 2, [&] { printcb8_2(m.prlwwL[1], m.prlwwL[2]); });
        conditional(m.pricewL == 3, [&] { printcb8_2(m.prcwwL[1], m.prcwwL[2]); });
        if (m.pricewL == 4) {
            conditional(m.l1skL[7][1] + m.l1skL[7][2] > kPresent,
                        [&] { printcb8_2(m.prcwcwL[1][1], m.prcwcwL[1][2]); });
            conditional(m.l1skL[32][1] + m.l1skL[32][2] > kPresent,
                        [&] { printcb8_2(m.prcwcwL[2][1], m.prcwcwL[2][2]); });
        } else {
            skip(2);
        }
        conditional(m.pricefL == 1 || m.pricefL == 2, [&] { printcb8_2(m.prlwfL[1], m.prlwfL[2]); });
        conditional(m.pricefL > 2, [&] { printcb8_2(m.prcwfL[1], m.prcwfL[2]); });
    }

    void ramRevenues(int k) {
        subsection();
        copy();
        for (int s = 1; s <= m.TR; ++s)
            if (m.l1aR[s][k] > kPresent)
                put("\n%3d   %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f", s, double(m.revwR[s][k]),
                    double(m.revcR[s][k]), double(m.revskrR[s][k]), double(m.revsktR[s][k]),
                    double(m.revmanR[s][k]), double(m.revsoldR[s][k]), double(m.revR[s][k]));
        copy();
        copy();
        double sum = 0;
        for (int s = 1; s <= m.TR; ++s) sum += m.revR[s][k] * m.l1R[s];
        put("%9.2f", sum);
        ++sub_;
    }

    // The revenues of one progeny set in genotype column k; young breeding
    // animals have the revenue from their sale for breeding as a column.
    void progenyRevenues(const Cats& cats, int k, bool breeding) {
        subsection();
        copy();
        rows(cats, k, [&](int s) {
            if (breeding)
                put("\n%3d   %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f", s, double(m.revwL[s][k]),
                    double(m.revcL[s][k]), double(m.revskrL[s][k]), double(m.revsktL[s][k]),
                    double(m.revmanL[s][k]), double(m.revsbL[s][k]), double(m.revL[s][k]));
            else
                put("\n%3d   %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f", s, double(m.revwL[s][k]), double(m.revcL[s][k]),
                    double(m.revskrL[s][k]), double(m.revsktL[s][k]), double(m.revmanL[s][k]),
                    double(m.revL[s][k]));
        });
        copy();
        ++sub_;
    }

    // --- 3.11 cost of a lamb and of the sale categories -------------------

    // Revenues and costs of an animal from birth through the categories it
    // passes: the weaned lamb (with its artificial rearing) of its sex, then
    // the given categories.
    void chain(int k, bool male, std::initializer_list<int> cats, const char* fmt = "%10.2f %10.2f") {
        const double reared = m.typew == 2 ? 1 : 0;
        const int w = male ? 30 : 5, ar = male ? 31 : 6;
        double rev = reared * m.revL[ar][k] + m.revL[w][k];
        double cost = reared * m.costL[ar][k] + m.costL[w][k];
        for (int s : cats) {
            rev += m.revL[s][k];
            cost += m.costL[s][k];
        }
        put(fmt, rev, cost);
    }

    void saleCategories() {
        sub_ = 1;
        section();
        copy();
        conditional(m.typew == 1, [&] { put("%9.2f", double(m.costlamb)); });
        conditional(m.typew == 2, [&] { put("%9.2f", double(m.costlamb)); });

        subsection();
        copy();
        copy();
        chain(1, false, {14, 16});
        copy();
        chain(1, true, {39});
        copy();
        chain(1, false, {14, 18, 20});
        copy();
        chain(1, true, {39, 41});
        conditional(m.l1skL[22][1] + m.l1skL[22][2] > kPresent, [&] { chain(1, false, {14, 18, 22, 24}); });
        ++sub_;

        soldForBreeding(1, 0.0001);
        soldForBreeding(2, kPresent);

        if (fattening()) {
            subsection();
            copy();
            rowsByColumn(setD(m), [&](int s, int k) {
                put("\n%3d %4d  %12.2f %11.2f", s, k, m.agetP[s][k] / 30.4, double(m.wP[s][k]));
                chain(k, s > 12, {s}, "%12.2f %11.2f");
            });
            copy();
            ++sub_;
        } else {
            skip(2);
        }

        if (milked()) {
            subsection();
            copy();
            double milk = 0, cheese = 0;
            for (int s = 1; s <= m.TE; ++s) {
                milk += m.revmilkE[s] * m.l1E[s];
                cheese += m.revcheeseE[s] * m.l1E[s];
            }
            copy();
            put("%10.2f", milk);
            copy();
            put("%10.2f", cheese);
        } else {
            skip(3);
        }
    }

    // Breeding animals sold in column k, from birth to their sale; shown
    // when the column sells enough of them.
    void soldForBreeding(int k, double threshold) {
        double sold = 0;
        for (int s : {13, 15, 19, 23, 26, 38, 40}) sold += m.l1skL[s][k];
        if (sold <= threshold) {
            skip(8);
            return;
        }
        subsection();
        copy();
        auto row = [&](int s, bool male, std::initializer_list<int> cats) {
            conditional(present(s, k), [&] { chain(k, male, cats); });
        };
        row(13, false, {13});
        row(26, false, {14, 26});
        row(15, false, {14, 15});
        row(19, false, {14, 18, 19});
        row(23, false, {14, 18, 22, 23});
        row(38, true, {38});
        row(40, true, {39, 40});
        ++sub_;
    }

    // --- 3.12 classes and purchased animals, 3.13 totals -----------------

    void classesAndPurchases() {
        sub_ = 1;
        section();
        copy();
        const bool classes = m.priceS == 2 || m.priceS == 4 || m.pricewL == 2 || m.pricewL == 4 || m.pricefL == 2 ||
                             m.pricefL == 4;
        if (classes) {
            subsection();
            copy();
            const bool lambClasses = m.pricefL == 4 || m.pricewL == 4;
            conditional(m.priceS == 2, [&] { printcb8_2(m.avclS[1], m.avclS[2]); });
            conditional(m.priceS == 4, [&] { printcb8_2(m.avfleshS[1], m.avfleshS[2]); });
            conditional(m.priceS == 4, [&] { printcb8_2(m.avfcS[1], m.avfcS[2]); });
            conditional(m.pricefL == 2, [&] { printcb8_2(m.avclfL[1], m.avclfL[2]); });
            conditional(lambClasses, [&] { printcb8_2(m.avfleshL[1], m.avfleshL[2]); });
            conditional(lambClasses, [&] { printcb8_2(m.avfcL[1], m.avfcL[2]); });
            conditional(m.pricewL == 2, [&] { printcb8_2(m.avclwL[1], m.avclwL[2]); });
            conditional(m.pricewL == 4, [&] { printcb8_2(m.avcqwL[1], m.avcqwL[2]); });
            ++sub_;
        } else {
            skip(9);
        }

        if (m.npurchFP + m.ppurchMP + m.crossing - 1 > kPresent) {
            subsection();
            copy();
            if (m.npurchFP > kPresent) {
                copy();
                put("%9.4f ", double(m.npurchFP));
                copy();
                put("%9.2f", double(m.costpurchFP));
            } else {
                skip(2);
            }
            if (m.ppurchMP > kPresent) {
                copy();
                put("%9.4f", m.neweR[1] * m.ppurchMP);
                copy();
                put("%9.2f", m.neweR[1] * m.ppurchMP * m.costpurchR[1][1]);
            } else {
                skip(2);
            }
            if (m.crossing == 2) {
                copy();
                put("%9.4f", double(m.neweR[2]));
                copy();
                put("%9.2f", m.neweR[2] * m.costpurchR[1][2]);
            } else {
                skip(2);
            }
        } else {
            skip(7);
        }
    }

    void totals() {
        section();
        copy();
        for (double x : {m.Trev, m.Tsub, m.Tcosts, m.Tprof}) {
            copy();
            put("%12.2f", x);
        }
        for (double x : {m.profsub, m.profnsub}) {
            copy();
            put("%10.2f", x);
        }
    }

    // --- 3.14 economic weights --------------------------------------------

    void weights() {
        section();
        copy();
        // Column of the weights reported: pure-bred, cross-bred, combined.
        const int col = m.ewopt == 0 ? 1 : m.ewopt == 1 ? 2 : 0;
        // A trait the system lacks has no row; its label is skipped.
        for (int t = 1; t <= 35; ++t) {
            if (!weights::inSystem(m, t)) {
                skip();
                continue;
            }
            copy();
            put("%10.3f", double(m.evp[t][col]));
        }
    }
};

}  // namespace

void writeResults(Run& run) {
    std::fprintf(run.con, "Writing the results to the results file %s.\n", run.resName);
    Writer(run).write();
}
