#include "context/run.h"
#include "herd/herd.h"
#include "herd/markov.h"
#include "model/model.h"

void ramPopulation(Run& run) {
    Model& m = run.m;
    if (m.itrait == 0) std::fputs("Calculating the structure of the ram population\n", run.con);
    const int RR = m.RR;
    const int ns = m.nstgR;
    m.TR = (RR - 1) * ns + m.nstg1R;

    for (int r = 0; r < 8; ++r) m.pstayR[r] = 0;
    for (int r = 1; r <= RR - 1; ++r) {
        m.pstayR[r] = 1 - m.pdiedR[r] - m.pcullR[r] - m.psoldR[r];
        if (m.pstayR[r] < 0)
            failCheck(run,
                      "The proportion of rams staying to the next breeding cycle \n"
                      "must be > 0. Reduce the fractions of the other categories. \n"
                      "Correct this error in INPUTS02.TXT and restart the program.\n");
    }

    // A ram that dies, is sold or is culled is replaced at once by a young
    // ram in cycle 1; one that stays moves on to the next cycle.
    for (auto& row : m.tr)
        for (double& v : row) v = 0;
    if (RR == 1) {
        for (int g = 1; g <= m.nstg1R; ++g) {
            m.tr[g][1] = m.pdiedR[1];
            m.tr[g][2] = m.psoldR[1];
            m.tr[g][3] = m.pcullR[1];
        }
    } else {
        for (int r = 1; r <= RR; ++r)
            for (int g = 1; g <= m.nstg1R; ++g) {
                double* row = m.tr[(r - 1) * ns + g];
                row[1] = m.pdiedR[1];
                row[2] = m.psoldR[1];
                row[3] = m.pcullR[1];
                row[4] = m.pstayR[1];
            }
        for (int q = 1; q <= RR - 1; ++q)
            for (int g = m.nstg1R + 1; g <= ns; ++g) {
                double* row = m.tr[(q - 1) * ns + g];
                const int B = q * ns;
                row[B + 1] = m.pdiedR[q + 1];
                row[B + 2] = m.psoldR[q + 1];
                row[B + 3] = m.pcullR[q + 1];
                if (q < RR - 1) row[B + 4] = m.pstayR[q + 1];
            }
    }
    reportRowSums(run.messages(), "TR", &m.tr[0][0], cap::CRS, m.TR, m.aa1);

    StationaryTrace t;
    const bool ok = stationarySparse(&m.tr[0][0], cap::CRS, m.TR, m.l1R, m.l2E, cap::CRS, t);
    m.kR = t.steps;
    m.a = t.a;
    m.a1 = t.a1;
    m.sl1R = t.sl;
    if (!ok)
        failCheck(run,
                  "The structure of the ram population cannot be calculated from your\n"
                  "  input parameters: the fractions of rams dying, sold and culled leave\n"
                  "  no rams in the population. Correct the fractions in INPUTS02.TXT\n"
                  "  and restart the program.\n\n\n");

    for (int r = 0; r < 8; ++r) m.l4R[r] = 0;
    for (int r = 1; r <= RR - 1; ++r)
        for (int g = 1; g <= ns; ++g) m.l4R[r] += m.l1R[(r - 1) * ns + g];
    for (int g = 1; g <= m.nstg1R; ++g) m.l4R[RR] += m.l1R[(RR - 1) * ns + g];
}
