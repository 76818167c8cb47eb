#include "context/run.h"
#include "herd/herd.h"
#include "herd/markov.h"
#include "model/model.h"

namespace {

[[noreturn]] void flockUndefined(Run& run) {
    failCheck(run,
              "The structure of the ewe flock cannot be calculated from your input\n"
              "  parameters: the fractions of ewes dying, culled, conceiving and kept\n"
              "  barren leave no ewes in the flock. Correct the fractions in INPUTS01.TXT\n"
              "  and restart the program.\n\n\n");
}

}  // namespace

void eweFlock(Run& run) {
    Model& m = run.m;
    if (m.itrait == 0) std::fputs("Calculating the structure of the ewe flock\n", run.con);
    const int LL = m.LL;
    const int ns = m.nstgE;
    m.TE = (LL - 1) * ns + m.nstg1E;

    if (m.lengthrc + m.datlamb - m.datbbs <= m.lpreg)
        failCheckAt(run, &m.datbbs,
                  "The time for pregnancy calculated from your input parameters\n"
                  "  is too short.\n"
                  "  Correct this error in INPUTS01.TXT and restart the program.\n\n\n");

    for (int p = 1; p <= LL; ++p) m.pcullE[p] = m.pcullhE[p] + m.pcullmE[p];
    m.intml = m.lengthrc + m.datlamb - m.datbbs;
    m.intlm = m.lengthrc - m.intml;

    for (int p = 0; p < cap::L; ++p) {
        m.pconstayE[p] = 0;
        m.pnconstayE[p] = 0;
        m.pnconculE[p] = 0;
        m.pnconE[p] = 0;
        m.pmatE[p] = 0;
        m.pconE[p] = 0;
    }
    for (int p = 1; p <= LL - 1; ++p) {
        m.pmatE[p] = 1 - (m.pcullE[p] + m.pdiedE[p]) * m.intlm / m.lengthrc;
        m.pconE[p] = m.pmatE[p] * m.conrateE[p];
        m.pnconE[p] = (1 - m.conrateE[p]) * m.pmatE[p];
        m.pnconculE[p] = (1 - m.pbarrE[p]) * m.pnconE[p];
        m.pnconstayE[p] = m.pnconE[p] * m.pbarrE[p] * (1 - (m.pcullE[p] + m.pdiedE[p]) * m.intml / m.lengthrc);
        m.pconstayE[p] = 1 - m.pnconstayE[p] - m.pnconculE[p] - m.pcullE[p] - m.pdiedE[p];
    }
    // Every survivor of the last cycle is culled.
    m.pnconculE[LL] = 1 - m.pcullE[LL] - m.pdiedE[LL];

    // Transition matrix: a ewe that dies or is culled is replaced at once by
    // a young ewe in cycle 1; one that stays moves on to the next cycle.
    // Only states 1 .. TE are ever written.
    for (int X = 1; X <= m.TE; ++X)
        for (int Y = 0; Y <= m.TE; ++Y) m.te[X][Y] = 0;
    for (int p = 1; p <= LL; ++p)
        for (int g = 1; g <= m.nstg1E; ++g) {
            double* row = m.te[(p - 1) * ns + g];
            row[1] = m.pdiedE[1];
            row[2] = m.pcullE[1];
            row[3] = m.pnconculE[1];
            row[4] = m.pnconstayE[1];
            row[5] = m.pconstayE[1];
        }
    for (int q = 1; q <= LL - 1; ++q)
        for (int g = m.nstg1E + 1; g <= ns; ++g) {
            double* row = m.te[(q - 1) * ns + g];
            const int B = q * ns;
            row[B + 1] = m.pdiedE[q + 1];
            row[B + 2] = m.pcullE[q + 1];
            row[B + 3] = m.pnconculE[q + 1];
            if (q < LL - 1) {
                row[B + 4] = m.pnconstayE[q + 1];
                row[B + 5] = m.pconstayE[q + 1];
            }
        }
    reportRowSums(run.messages(), "TE", &m.te[0][0], cap::CE, m.TE, m.aa1);

    StationaryTrace t;
    const bool ok = stationarySparse(&m.te[0][0], cap::CE, m.TE, m.l1E, m.l2E, cap::CE, t);
    m.kE = t.steps;
    m.a = t.a;
    m.a1 = t.a1;
    m.sl1E = t.sl;
    if (!ok) flockUndefined(run);

    for (int p = 0; p < cap::L; ++p) m.l4E[p] = 0;
    for (int p = 1; p <= LL - 1; ++p)
        for (int g = 1; g <= ns; ++g) m.l4E[p] += m.l1E[(p - 1) * ns + g];
    for (int g = 1; g <= m.nstg1E; ++g) m.l4E[LL] += m.l1E[(LL - 1) * ns + g];

    // Young ewes (cycle 1), ewes before their last cycle and lambings must
    // exist for the flock averages below; only inputs outside the range of
    // fractions can remove them.
    if (!(m.l4E[1] > 1e-12) || !(1 - m.l4E[LL] > 1e-12)) flockUndefined(run);

    double s = 0;
    for (int p = 1; p <= LL - 1; ++p) s += m.conrateE[p] * m.l4E[p];
    m.avconrateE = s / (1 - m.l4E[LL]);
    m.avlifelE = 1 / m.l4E[1];

    for (int p = 0; p < cap::L; ++p) m.l3E[p] = 0;
    m.l3E[1] = m.l4E[1];
    for (int p = 2; p <= LL; ++p) m.l3E[p] = m.l1E[(p - 1) * ns];
    m.Nlamb = 0;
    for (int p = 1; p <= LL; ++p) m.Nlamb += m.l3E[p];
    if (!(m.Nlamb > 1e-12)) flockUndefined(run);

    s = 0;
    for (int p = 1; p <= LL - 1; ++p) s += m.pcrossE[p] * m.l4E[p];
    m.pcrosst = s / (1 - m.l4E[LL]);

    double pure = 0, crossed = 0;
    for (int p = 1; p <= LL - 1; ++p) {
        pure += (1 - m.pcrossE[p]) * m.l4E[p];
        crossed += m.pcrossE[p] * m.l4E[p];
    }
    m.pctE[1] = (1 - m.pinsE[1] * m.coninsE) * pure;
    m.pctE[2] = (1 - m.pinsE[2] * m.coninsE) * crossed;

    s = 0;
    for (int p = 1; p <= LL; ++p) {
        double lit = 0;
        for (int lt = 1; lt <= m.clt; ++lt) lit += lt * m.Pltype[lt][p];
        m.avlitpE[p] = lit;
        s += m.avlitpE[p] * m.l3E[p];
    }
    m.avlitE = s / m.Nlamb;

    double died = 0, culledH = 0, culledM = 0, culledFc = 0;
    for (int p = 1; p <= LL; ++p) {
        died += m.pdiedE[p] * m.l4E[p];
        culledH += m.pcullhE[p] * m.l4E[p];
        culledM += m.pcullmE[p] * m.l4E[p];
    }
    for (int p = 1; p <= LL - 1; ++p) culledFc += m.l1E[(p - 1) * ns + m.nstg1E];
    m.pdiedE0 = died;
    m.pcullhE0 = culledH;
    m.pcullmE0 = culledM;
    m.pcullfcE0 = culledFc;
    m.pdiedEp = m.pdiedE0 * 100 / m.l4E[1];
    m.pcullhEp = m.pcullhE0 * 100 / m.l4E[1];
    m.pcullmEp = m.pcullmE0 * 100 / m.l4E[1];
    m.pcullfcEp = m.pcullfcE0 * 100 / m.l4E[1];
}
