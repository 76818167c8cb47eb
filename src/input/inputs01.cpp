// INPUTS01.TXT: the ewe flock over its reproductive cycles (losses, culling,
// conception, crossing) and the calendar of the production cycle.
#include "input/inputs.h"

#include "context/run.h"
#include "input/reader.h"
#include "model/model.h"

void readInputs01(Run& run, InFile& in) {
    Model& m = run.m;
    const bool milked = m.typeb == 1;
    const bool crossed = m.crossing == 2;

    readcom(in);

    // The number of cycles bounds every ewe vector, so it is checked before
    // anything else of the file is read or echoed.
    readInt(in, m.LL);
    if (m.LL > 15 || m.LL <= 3)
        failCheckAt(run, &m.LL,
                  "The number of reproductive cycles must be in the range from 4\n"
                  "to 15. Correct this error in INPUTS01.TXT and restart the program.\n");
    wrides(in, run.res);
    std::fprintf(run.res, "%2d", m.LL);

    const int n = m.LL;
    readVectorRecord(in, run.res, &m.pdiedE[1], n, 1, "%8.4f");
    // Culling for low milk yield exists for milked breeds only.
    if (milked) readVectorRecord(in, run.res, &m.pcullmE[1], n, 1, "%8.4f");
    else readdes(in);
    readVectorRecord(in, run.res, &m.pcullhE[1], n, 1, "%8.4f");
    // No conception and no barren ewes kept in the last cycle.
    readVectorRecord(in, run.res, &m.conrateE[1], n - 1, 1, "%8.4f");
    readVectorRecord(in, run.res, &m.pbarrE[1], n - 1, 1, "%8.4f");
    if (crossed) {
        readfloat(run.res, in, m.pcrossE[0]);
        readVectorRecord(in, run.res, &m.pcrossE[1], n - 1, 1, "%6.3f");
    } else {
        readdes(in);
        readdes(in);
    }

    // An impossible date stops the run after its echo, so that the faulty
    // date stands in the results file.
    readcom(in);
    readymd(in, run.res, m.datlamb, "of lambing ");
    readymd(in, run.res, m.datwL, "of weaning lambs ");
    readymd(in, run.res, m.datbbs, "of the start of the breeding season ");
    readymd(in, run.res, m.datebs, "of the end of the breeding season ");
    if (milked) {
        readymd(in, run.res, m.datdry, "of drying ");
        // Milked ewes are milked from weaning to drying.
        if (m.datdry < m.datwL)
            failCheckAt(run, &m.datdry,
                      "The date of drying must not be earlier than the date of weaning lambs.\n"
                      "  Correct the dates in INPUTS01.TXT and restart the program.\n\n\n");
    } else {
        readdes(in);
    }
    readfloat(run.res, in, m.u);
    // A rate per year above one half is computable, but most likely a
    // per-cent value typed as a fraction.
    if (m.u > 0.5) warnOdd(in, "a very high discount rate");
}
