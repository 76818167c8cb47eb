// INPUTS02.TXT: losses, sales and culling of rams over their breeding
// cycles.
#include "input/inputs.h"

#include "context/run.h"
#include "input/reader.h"
#include "model/model.h"

void readInputs02(Run& run, InFile& in) {
    Model& m = run.m;

    readcom(in);

    // The number of breeding cycles bounds the ram vectors: checked before
    // anything else is read or echoed.
    readInt(in, m.RR);
    if (m.RR > 5 || m.RR <= 0)
        failCheckAt(run, &m.RR,
                  "The number of breeding cycles for rams must be in the range from 1\n"
                  "to 5. Correct this error in INPUTS02.TXT and restart the program.\n");
    wrides(in, run.res);
    std::fprintf(run.res, "%2d", m.RR);

    readVectorRecord(in, run.res, &m.pdiedR[1], m.RR, 1, "%8.3f");
    readVectorRecord(in, run.res, &m.psoldR[1], m.RR, 1, "%8.3f");
    readVectorRecord(in, run.res, &m.pcullR[1], m.RR, 1, "%8.3f");

    // No ram stays beyond the last breeding cycle; the earlier cycles are
    // checked with the ram population, which needs some rams to stay.
    const Real s = m.pdiedR[m.RR] + m.pcullR[m.RR] + m.psoldR[m.RR];
    if (s > 1.000001 || s < 0.999999)
        failCheckAt(run, &m.pdiedR[m.RR],
                  "The sum pdiedR[RR]+psoldR[RR]+pcullR[RR] must be one.\n"
                  "Correct this error in INPUTS02.TXT and restart the program.\n");
}
