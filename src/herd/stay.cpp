#include <cfloat>
#include <cmath>

#include "context/run.h"
#include "herd/herd.h"
#include "model/kept_values.h"
#include "model/model.h"

namespace {

// Discount factor for a time of t days: (1 + u)^(-t / 365).  Every
// evaluation asks for the same few hundred: they are kept
// (model/kept_values.h).
double discount(Run& run, double t) {
    struct Args {
        double u, t;
    };
    const double u = run.m.u;
    const double q = KeptValues<Args, double, 10>::get(Args{u, t}, [&] { return std::pow(1 + u, -t / 365); });
    // Factors beyond the range of single precision come only from discount
    // rates that no production system has; both builds stop at the same
    // limit, on the same inputs.
    if (!(q <= FLT_MAX))
        failCheck(run,
                  "The discount rate gives discount factors too large to be calculated.\n"
                  "  Correct the discount rate in INPUTS01.TXT and restart the program.\n\n\n");
    return q;
}

bool present(const Model& m, int c, int cr) { return m.l1skL[c][cr] > 1e-06; }

// Age at which progeny leave the dam: weaning, or the end of artificial
// rearing.
int startAge(const Model& m) { return m.typew == 1 ? m.agewL : m.agearL; }

void eweStays(Model& m) {
    for (Real& v : m.dcE) v = 0;
    for (int p = 1; p <= m.LL; ++p) {
        const int B = (p - 1) * m.nstgE;
        m.dcE[B + 1] = m.lengthrc / 2.0;                          // died
        m.dcE[B + 2] = m.datdry - m.datlamb + 1;                  // culled
        m.dcE[B + 3] = m.datebs + m.dnpregcE - m.datlamb + 1;     // not pregnant, culled
        if (p < m.LL) m.dcE[B + 5] = m.dcE[B + 4] = m.lengthrc;   // kept
    }
}

void ramStays(Model& m) {
    for (Real& v : m.dcR) v = 0;
    const int season = m.datebs - m.datbbs + m.flushbbR + 1;  // flushing and breeding season
    for (int r = 1; r <= m.RR; ++r) {
        const int B = (r - 1) * m.nstgR;
        m.dcR[B + 1] = m.lengthrc / 2.0;                               // died
        m.dcR[B + 2] = m.dselR + season;                               // sold
        m.dcR[B + 3] = r < m.RR ? m.lengthrc / 2.0 : double(season);  // culled
        m.dcR[B + 4] = m.lengthrc;                                     // stays
    }
}

// Days in each progeny category with animals.
void progenyStays(Model& m, int cr) {
    const double A0 = startAge(m);
    auto set = [&](int c, double days) {
        if (present(m, c, cr)) m.dcL[c][cr] = days;
    };
    for (int s = 1; s <= m.lf[1]; ++s) set(7 + s, m.agetP[7 + s][cr] - A0);
    for (int s = 1; s <= m.lf[2]; ++s) set(32 + s, m.agetP[32 + s][cr] - A0);
    for (int s = 1; s <= m.lf[0]; ++s) set(42 + s, m.agetP[42 + s][cr] - A0);
    set(5, m.agewL);
    set(6, m.agearL - m.agewL);
    set(30, m.agewL);
    set(31, m.agearL - m.agewL);

    // Young females: sold before mating, mated in seasons 1 to 3, sold
    // pregnant, joining the flock, culled when not pregnant.
    set(13, m.agetP[13][cr] - A0);
    set(14, m.ager[1][1] - A0);
    set(15, m.datconFP[1] + m.dpregsFP - m.datbbs);
    set(19, m.datconFP[2] + m.dpregsFP - m.datbbs - 365);
    set(23, m.datconFP[3] + m.dpregsFP - m.datbbs - 730);
    set(16, m.lengthrc - m.ager[1][1]);
    set(20, 2 * m.lengthrc - m.ager[1][2]);
    set(24, 3 * m.lengthrc - m.ager[1][3]);
    set(17, m.datebs + m.dnpregcFP - m.datlamb - m.ager[1][1]);
    set(21, m.datebs + m.dnpregcFP + m.lengthrc - m.datlamb - m.ager[1][2]);
    set(25, m.datebs + m.dnpregcFP + 2 * m.lengthrc - m.datlamb - m.ager[1][3]);
    set(18, m.ager[1][2] - m.ager[1][1]);
    set(22, m.ager[1][3] - m.ager[1][2]);
    set(26, m.agetP[26][cr] - m.ager[1][1]);

    // Young males.
    set(38, m.agetP[38][cr] - A0);
    set(39, m.ager[2][1] - A0);
    set(40, m.agetP[40][cr] - m.ager[2][1]);
    set(41, m.ager[2][2] - m.ager[2][1]);

    set(2, A0 / 2);  // lambs dying before they leave the dam
}

// Categories of animals lost during a stay: on average they live half the
// stay of the category they were lost from.
void lossStays(Model& m, int cr) {
    auto half = [&](int c, double days) {
        if (present(m, c, cr)) m.dcL[c][cr] = days / (2 * m.l1skL[c][cr]);
    };
    auto fattening = [&](int k, int first) {
        double s = 0;
        for (int v = 1; v <= m.lf[k]; ++v) s += m.dcL[first + v][cr] * m.ndiedfat[k][v][cr];
        return s;
    };
    half(3, fattening(1, 7));
    half(28, fattening(2, 32));
    half(48, fattening(0, 42));
    half(4, (m.nrdied[1][1][cr] + m.nspdied[1][1][cr]) * m.dcL[14][cr] +
                (m.nrdied[1][2][cr] + m.nspdied[1][2][cr]) * m.dcL[18][cr] +
                (m.nrdied[1][3][cr] + m.nspdied[1][3][cr]) * m.dcL[22][cr] + m.dcL[20][cr] * m.nrdiedmlFP[cr]);
    half(29, (m.nrdied[2][1][cr] + m.nspdied[2][1][cr]) * m.dcL[39][cr] +
                 (m.nrdied[2][2][cr] + m.nspdied[2][2][cr]) * m.dcL[41][cr]);
    half(42, (m.nrcull[2][1][cr] + m.nspcull[2][1][cr]) * m.dcL[39][cr] +
                 (m.nrcull[2][2][cr] + m.nspcull[2][2][cr]) * m.dcL[41][cr]);
}

// Mean age and age at the end of the stay in each progeny category.
void progenyAges(Model& m, int cr) {
    const double A0 = startAge(m);
    auto ages = [&](int c, double start) {
        if (!present(m, c, cr)) return;
        m.taveL[c][cr] = m.dcL[c][cr] / 2 + start;
        m.tendL[c][cr] = start + m.dcL[c][cr];
    };
    m.taveL[2][cr] = m.dcL[2][cr] / 2;
    m.tendL[2][cr] = m.dcL[2][cr];

    // Categories entered at the age A0.
    for (int c : {3, 4, 13, 14, 28, 29, 38, 39}) ages(c, A0);
    for (int s = 1; s <= m.lf[1]; ++s) ages(7 + s, A0);
    for (int s = 1; s <= m.lf[2]; ++s) ages(32 + s, A0);
    for (int c = 42; c <= 48; ++c) ages(c, A0);

    for (int c : {5, 30})
        if (present(m, c, cr)) {
            m.taveL[c][cr] = m.agewL / 2.0;
            m.tendL[c][cr] = m.agewL;
        }
    for (int c : {6, 31})
        if (present(m, c, cr)) {
            m.taveL[c][cr] = m.agewL + m.dcL[c][cr] / 2;
            m.tendL[c][cr] = m.agearL;
        }
    for (int c : {7, 32})
        if (present(m, c, cr)) m.taveL[c][cr] = m.tendL[c][cr] = A0;

    // Young breeding animals, from the breeding season they start in.
    for (int c : {15, 16, 17, 18, 26}) ages(c, m.ager[1][1]);
    for (int c = 19; c <= 22; ++c) ages(c, m.ager[1][2]);
    for (int c = 23; c <= 25; ++c) ages(c, m.ager[1][3]);
    for (int c : {40, 41}) ages(c, m.ager[2][1]);
}

}  // namespace

void stayDurations(Run& run) {
    Model& m = run.m;
    eweStays(m);
    ramStays(m);
    for (auto& row : m.dcL)
        for (Real& v : row) v = 0;
    for (int cr = 1; cr <= m.crossing; ++cr) {
        progenyStays(m, cr);
        lossStays(m, cr);
    }

    // Ewes and rams are discounted by their age in the middle and at the end
    // of the state; ewe state X belongs to cycle (X - 1) / nstgE + 1, ram
    // state X to cycle (X - 1) / nstgR + 1.
    for (int X = 1; X <= m.TE; ++X) {
        const double age = m.ageE[(X - 1) / m.nstgE + 1];
        m.qaveE[X] = discount(run, m.dcE[X] / 2 + age);
        m.qendE[X] = discount(run, age + m.dcE[X]);
        m.qbreedE[X] = discount(run, m.datbbs + age - m.datlamb);
        if (m.typeb == 1) m.qmilkE[X] = discount(run, m.agewL + age + m.lengthmp / 2.0);
    }
    // Rams are bought for the breeding season, datbbs - datlamb days after
    // lambing.
    m.qpurchR = discount(run, m.datbbs - m.datlamb);
    for (int X = 1; X <= m.TR; ++X) {
        const int r = (X - 1) / m.nstgR + 1;
        for (int b = 1; b <= m.crossing; ++b) {
            m.qaveR[X][b] = discount(run, m.dcR[X] / 2 + m.ageR[r][b]);
            m.qendR[X][b] = discount(run, m.ageR[r][b] + m.dcR[X]);
        }
    }

    // Progeny are discounted to their birth.  Categories without animals
    // have no stay and are not discounted.
    for (auto& row : m.taveL)
        for (Real& v : row) v = 0;
    for (auto& row : m.tendL)
        for (Real& v : row) v = 0;
    for (int cr = 1; cr <= m.crossing; ++cr) {
        progenyAges(m, cr);
        for (int c = 1; c <= m.PP; ++c) {
            const bool animals = present(m, c, cr);
            m.qaveL[c][cr] = animals ? discount(run, m.taveL[c][cr]) : 1.0;
            m.qendL[c][cr] = animals ? discount(run, m.tendL[c][cr]) : 1.0;
        }
    }
    // Young females at their first, second and third breeding season.
    for (int j = 1; j <= 3; ++j) {
        const int c = 4 * j + 10;
        m.qbreedL[c] = m.l1skL[c][1] + m.l1skL[c][2] > 1e-06 ? discount(run, m.ager[1][j]) : 1.0;
    }
}
