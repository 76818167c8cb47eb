#include "context/run.h"
#include "herd/herd.h"
#include "model/model.h"

namespace {

// Survival in per cent; a breed group without lambs has none.
double percent(double part, double whole) { return whole != 0 ? part * 100 / whole : 0.0; }

}  // namespace

void progenyUntilWeaning(Run& run) {
    Model& m = run.m;
    if (m.itrait == 0) std::fputs("Calculating the structure of progeny until weaning\n", run.con);

    for (int cr = 0; cr <= 2; ++cr) {
        m.NarL[cr] = m.NwL[cr] = m.Na24hL[cr] = m.NbtL[cr] = 0;
        for (int lt = 0; lt < cap::LT; ++lt) m.narL[cr][lt] = m.nwL[cr][lt] = m.na24hL[cr][lt] = m.nbtL[cr][lt] = 0;
    }

    // Lambs born in cycle p come from the mating of the breeding season
    // before it.  The product of litter size and litter fraction is formed
    // in the storage precision, as is the fraction of matings.
    for (int lt = 1; lt <= m.clt; ++lt) {
        for (int p = 1; p <= m.LL; ++p) {
            const double litter = RealStored(lt) * stored(m.Pltype[lt][p]);
            const double pure = RealStored(1) - stored(m.pcrossE[p - 1]);
            m.nbtL[1][lt] += litter * m.l3E[p] * pure;
            if (m.crossing == 2) m.nbtL[2][lt] += litter * m.l3E[p] * m.pcrossE[p - 1];
        }
        m.na24hL[1][lt] = (1 - m.pdiedbL[lt][1]) * m.nbtL[1][lt];
        if (m.crossing == 2) m.na24hL[2][lt] = (1 - m.pdiedbL[lt][2]) * m.nbtL[2][lt];
        m.nbtL[0][lt] = m.nbtL[1][lt] + m.nbtL[2][lt];
        m.na24hL[0][lt] = m.na24hL[1][lt] + m.na24hL[2][lt];
    }

    for (int cr = 1; cr <= m.crossing; ++cr) {
        for (int lt = 1; lt <= m.clt; ++lt) {
            m.nwL[cr][lt] = (1 - m.pdiedwL[lt][cr]) * m.na24hL[cr][lt];
            m.nwL[0][lt] += m.nwL[cr][lt];
            if (m.typew == 2) {
                m.narL[cr][lt] = (1 - m.pdiedarL[lt][cr]) * m.nwL[cr][lt];
                m.narL[0][lt] += m.narL[cr][lt];
            }
            m.NbtL[cr] += m.nbtL[cr][lt];
            m.Na24hL[cr] += m.na24hL[cr][lt];
            m.NwL[cr] += m.nwL[cr][lt];
            if (m.typew == 2) m.NarL[cr] += m.narL[cr][lt];
        }
        m.NbtL[0] += m.NbtL[cr];
        m.Na24hL[0] += m.Na24hL[cr];
        m.NwL[0] += m.NwL[cr];
        if (m.typew == 2) m.NarL[0] += m.NarL[cr];
        m.avsur24hL[cr] = percent(m.Na24hL[cr], m.NbtL[cr]);
        if (m.typew == 1) m.avsurwL[cr] = percent(m.NwL[cr], m.Na24hL[cr]);
        if (m.typew == 2) m.avsurarL[cr] = percent(m.NarL[cr], m.Na24hL[cr]);
    }

    // Progeny categories until weaning: 1 dead within 24 hours, 2 dead until
    // weaning (or the end of artificial rearing), 5/30 weaned female/male
    // lambs, 6/31 artificially reared female/male lambs.
    for (auto& c : m.l1L)
        for (auto& row : c)
            for (Real& v : row) v = 0;
    for (int cr = 0; cr <= m.crossing; ++cr)
        for (int lt = 1; lt <= m.clt; ++lt) {
            m.l1L[1][cr][lt] = m.nbtL[cr][lt] - m.na24hL[cr][lt];
            m.l1L[2][cr][lt] =
                m.na24hL[cr][lt] - (m.typew == 1 ? double(m.nwL[cr][lt]) : double(m.narL[cr][lt]));
            m.l1L[5][cr][lt] = m.nwL[cr][lt] * m.sexrbf;
            m.l1L[30][cr][lt] = m.nwL[cr][lt] * m.sexrbm;
            if (m.typew == 2) {
                m.l1L[6][cr][lt] = m.narL[cr][lt] * m.sexrbf;
                m.l1L[31][cr][lt] = m.narL[cr][lt] * m.sexrbm;
            }
        }
    for (auto& row : m.l1skL)
        for (Real& v : row) v = 0;
    for (int c : {1, 2, 5, 6, 30, 31})
        for (int cr = 0; cr <= m.crossing; ++cr) {
            double s = 0;
            for (int lt = 1; lt <= m.clt; ++lt) s += m.l1L[c][cr][lt];
            m.l1skL[c][cr] = s;
        }
}
