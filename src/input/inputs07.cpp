// INPUTS07.TXT: milk suckled until weaning and the milk factors for parity
// and litter size, for breeds that are not milked (typeb = 3).
#include "input/inputs.h"

#include "context/run.h"
#include "input/reader.h"
#include "model/model.h"

void readInputs07(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;

    readcom(in);
    readfloat(res, in, m.basemilkw);
    readint(res, in, m.placE);
    readint(res, in, m.nsl);
    readVectorRecord(in, res, &m.ktlp[1], m.LL, 1, "%6.3f");
    // Litter-size classes 1 .. clt only; ktlsl[0] keeps its 0.
    readVectorRecord(in, res, &m.ktlsl[1], m.clt, 1, "%6.3f");
}
