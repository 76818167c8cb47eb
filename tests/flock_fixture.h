// A small pure-bred flock for the tests of the herd phases: single and
// twin lambs weaned at 60 days, two male fattening variants.
#pragma once

#include "herd/herd.h"
#include "test_util.h"

namespace flockfix {

// Pure-bred flock with single and twin lambs, weaned at 60 days; breeding
// season from 1 September (day 244), lambing on 1 March (day 60).
inline void flock(Model& m) {
    m.LL = 4;
    m.clt = 2;
    m.crossing = 1;
    m.typew = 1;
    m.datlamb = 60;
    m.datwL = 120;
    m.datbbs = 244;
    m.datebs = 290;
    m.lpreg = 150;
    m.lf[2] = 2;
    // One breeding cycle of rams: half die, half are culled.
    m.RR = 1;
    m.pdiedR[1] = m.pcullR[1] = 0.5;
    for (int p = 1; p <= 4; ++p) {
        m.pdiedE[p] = 0.04;
        m.pcullhE[p] = 0.16;
        m.conrateE[p] = p < 4 ? 0.9 : 0;
        m.pbarrE[p] = p < 4 ? 0.5 : 0;
        m.Pltype[1][p] = 0.6;
        m.Pltype[2][p] = 0.4;
    }
    m.pdiedbL[1][1] = 0.05;
    m.pdiedbL[2][1] = 0.1;
    m.pdiedwL[1][1] = 0.04;
    m.pdiedwL[2][1] = 0.08;
    m.bwL[1][1][1] = 4.0;
    m.bwL[2][1][1] = 4.4;
    m.bwL[1][2][1] = 3.2;
    m.bwL[2][2][1] = 3.6;
    m.wwL[1][1][1] = 22.0;
    m.wwL[2][1][1] = 25.0;
    m.wwL[1][2][1] = 19.0;
    m.wwL[2][2][1] = 21.0;
    m.mwE[1] = 70;
    m.mwR[1] = m.mwMP[1] = 95;
    m.adgr[1][1][1] = 0.15;
    m.adgr[1][2][1] = 0.08;
    m.adgr[2][1][1] = 0.2;
    m.adgr[2][2][1] = 0.12;
    m.vcwr[1][1] = 10;
    m.vcwr[2][1] = 8;
    m.pwrepFP[1] = 0.6;
    m.pwrepMP = 0.7;
    m.conrateFP[1][1] = 0.8;
    m.conrateFP[2][1] = 0.85;
    m.conrateFP[3][1] = 0.9;
    // Two male fattening variants: to 40 kg, and to 200 days of age.
    m.ulf[2][1] = 1;
    m.vlf[2][1] = 40;
    m.clf[2][1] = 1;
    m.ulf[2][2] = 2;
    m.vlf[2][2] = 200;
    m.clf[2][2] = 1;
    m.adgP[33][1] = 0.25;
    m.adgP[34][1] = 0.2;
}

inline void upToGrowth(testutil::Harness& h) {
    growthConstants(h.run);
    rebuildAtReentry(h.run);
    eweFlock(h.run);
    ramPopulation(h.run);
    progenyUntilWeaning(h.run);
    growth(h.run);
}

}  // namespace flockfix
