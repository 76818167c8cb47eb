// INPUTS08.TXT: the feeding calendar, the rations of every feeding group of
// rams, ewes, lambs and young stock in each feeding season, drinking water,
// keeping technologies, flushing periods, milk composition and wool growth.
#include "context/run.h"
#include "input/inputs.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// The five tables of rations of one class of animals (rams, ewes or lambs),
// each indexed [feeding group][feeding season].
struct RationTables {
    Real (*drym)[cap::NFS];
    Real (*ned)[cap::NFS];
    Real (*pdid)[cap::NFS];
    Real (*lossf)[cap::NFS];
    Real (*prf)[cap::NFS];
};

// Echo formats of the protein and loss records of a ration block; dry
// matter, energy and price have the same formats in every block.
struct RationFormats {
    const char* pdid;
    const char* lossf;
};

constexpr RationFormats kAdultFormats{"%10.3f", "%10.3f"};     // rams and ewes
constexpr RationFormats kRearingFormats{"%10.2f", "%8.1f"};    // lamb groups 1 to 5
constexpr RationFormats kFatteningFormats{"%10.1f", "%10.3f"}; // fattening groups

[[noreturn]] void inputs08Error(Run& run, const void* value, const char* text) {
    failCheckAt(run, value, "%sCorrect this error in INPUTS08.TXT and restart the program.\n", text);
}

// One record of a ration block: a matrix over the groups first .. first +
// rows - 1 (each row preceded by a line break in the echo), or, for a
// single lamb group, a vector over the seasons.
void rationRecord(Run& run, InFile& in, Real (*table)[cap::NFS], int first, int rows, bool single,
                  const char* fmt) {
    if (single) readVectorRecord(in, run.res, &table[first][1], run.m.nfs, 1, fmt);
    else readMatrixRecord(in, run.res, &table[first][1], rows, cap::NFS, run.m.nfs, 1, fmt);
}

// Whether a value of the groups first .. first + rows - 1 is negative in
// some season.
bool anyNegative(const Model& m, const Real (*table)[cap::NFS], int first, int rows) {
    for (int f = first; f < first + rows; ++f)
        for (int s = 1; s <= m.nfs; ++s)
            if (table[f][s] < 0) return true;
    return false;
}

// A ration block: dry matter, energy, protein (only for the first method of
// feed costing; the record stands in the file in any case), losses, price.
// Dry matter is a fraction of the feed as fed, energy and protein are
// contents per kg dry matter and the losses per cent of the feed; a ration
// that is needed but has no content is stopped where its feed is costed.
// A negative price is computable but odd.
void rationBlock(Run& run, InFile& in, const RationTables& t, int first, int rows, bool single,
                 const RationFormats& fmt) {
    rationRecord(run, in, t.drym, first, rows, single, "%10.3f");
    rationRecord(run, in, t.ned, first, rows, single, "%10.3f");
    if (run.m.feedcost == 1) rationRecord(run, in, t.pdid, first, rows, single, fmt.pdid);
    else readdes(in);
    rationRecord(run, in, t.lossf, first, rows, single, fmt.lossf);
    rationRecord(run, in, t.prf, first, rows, single, "%12.4f");
    if (anyNegative(run.m, t.prf, first, rows)) warnOdd(in, "a negative price of feed");
}

// Ration block of one of the lamb groups 1 to 5 (a vector over the seasons).
void lambBlock(Run& run, InFile& in, const RationTables& t, int group) {
    rationBlock(run, in, t, group, 1, true, kRearingFormats);
}

// Ration block of the fattening variants of one kind of progeny, groups
// first .. first + count - 1; five skipped records when the kind is not
// fattened.
void fatteningBlock(Run& run, InFile& in, const RationTables& t, int first, int count) {
    if (count > 0) {
        rationBlock(run, in, t, first, count, false, kFatteningFormats);
    } else {
        for (int i = 0; i < 5; ++i) readdes(in);
    }
}

// Drinking water of the feeding groups first .. first + rows - 1.
void waterMatrix(Run& run, InFile& in, Real (*table)[cap::NFS], int first, int rows) {
    readMatrixRecord(in, run.res, &table[first][1], rows, cap::NFS, run.m.nfs, 1, "%10.1f");
}

// The length of late pregnancy: the last days of the pregnancy, so at most
// the length of pregnancy itself.
void latePregnancy(Run& run, InFile& in) {
    Model& m = run.m;
    readint(run.res, in, m.dshpE);
    char range[64];
    std::snprintf(range, sizeof range, "from 0 to %d, the length of pregnancy", m.lpreg);
    requireIn(in, m.dshpE, Allowed{0, double(m.lpreg), false, range});
}

// A vector of keeping-technology codes over the seasons; every code (1 to
// 3, by its range) selects one of the hs = 3 activity coefficients.
void technologyCodes(Run& run, InFile& in, int* codes) {
    readVectorRecord(in, run.res, &codes[1], run.m.nfs, 1, "%3d");
}

// The feeding calendar: number of seasons, season on January 1st, the
// changes of season in the year.
void readCalendar(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;
    readcom(in);
    readint(res, in, m.nfs);
    if (m.nfs < 1 || m.nfs > cap::NFS - 1)
        inputs08Error(run, &m.nfs, "The number of feeding seasons must be in the range from 1\nto 4. ");
    readint(res, in, m.valfs[0]);
    readint(res, in, m.nchfs);
    // The nutrition phase copies the changes of one year to four years.
    if (m.nchfs < 0 || m.nchfs > 7)
        inputs08Error(run, &m.nchfs, "The number of changes of the feeding season in a year must be in the\n"
                           "range from 0 to 7. ");
    readcom(in);
    for (int q = 1; q <= m.nchfs; ++q) {
        readymd(in, res, m.datchfs[q], "of change in the feeding season ");
        readint(res, in, m.valfs[q]);
    }
    readcom(in);
    if (m.valfs[0] != m.valfs[m.nchfs])
        failCheckAt(run, &m.valfs[m.nchfs], "The code for the feeding season after the last change in the year\n"
                       "  must be the same as the code on January 1st.\n"
                       "  Correct this error in INPUTS08.TXT and restart the program.\n");
    for (int q = 0; q <= m.nchfs; ++q)
        if (m.valfs[q] < 1 || m.valfs[q] > m.nfs)
            failCheckAt(run, &m.valfs[q],
                      "The code of a feeding season must be in the range from 1 to %d,\n"
                      "the number of feeding seasons. Correct this error in INPUTS08.TXT\n"
                      "and restart the program.\n",
                      m.nfs);
    // The season of a day is looked up in a calendar of ascending dates
    // that repeats every year.
    bool ordered = m.nchfs == 0 || m.datchfs[m.nchfs] - m.datchfs[1] < 365;
    for (int q = 2; q <= m.nchfs; ++q)
        if (m.datchfs[q] <= m.datchfs[q - 1]) ordered = false;
    if (!ordered)
        inputs08Error(run, &m.datchfs[m.nchfs], "The dates of change in the feeding season must increase and lie within\n"
                           "one year. ");
}

}  // namespace

void readInputs08(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;
    const RationTables rams{m.drymR, m.nedR, m.pdidR, m.lossfR, m.prfR};
    const RationTables ewes{m.drymE, m.nedE, m.pdidE, m.lossfE, m.prfE};
    const RationTables lambs{m.drymL, m.nedL, m.pdidL, m.lossfL, m.prfL};

    readCalendar(run, in);

    // Rams.  Periods in days, temperatures of any sign.
    readint(res, in, m.flushbbR);
    readint(res, in, m.dselR);
    readVectorRecord(in, res, &m.tp[1], m.nfs, 1, "%7.1f");
    rationBlock(run, in, rams, 1, m.fR, false, kAdultFormats);

    // Ewes.  The activity coefficients add to the maintenance requirement;
    // fat and protein of milk are per cent.
    readint(res, in, m.flushbbE);
    readint(res, in, m.flushabE);
    readint(res, in, m.dnpregcE);
    technologyCodes(run, in, m.techE);
    for (int t = 1; t <= m.hs; ++t) readfloat(res, in, m.ktE[t]);
    latePregnancy(run, in);
    readfloat(res, in, m.fat);
    readfloat(res, in, m.prot);
    rationBlock(run, in, ewes, 1, m.fE, false, kAdultFormats);

    // Lambs and young stock.  Wool growth in kg per day, energy and
    // protein of milk per kg.
    technologyCodes(run, in, m.techbL);
    technologyCodes(run, in, m.techfatL);
    readfloat(res, in, m.dwoolptwL);
    for (int t = 1; t <= m.hs; ++t) readfloat(res, in, m.ktL[t]);
    readfloat(res, in, m.nemilk);
    readfloatIf(in, res, m.feedcost == 1, m.pdimilk);
    lambBlock(run, in, lambs, 1);  // suckling lambs
    readcom(in);
    if (m.typew == 2) {  // artificial rearing
        readfloat(res, in, m.dwoolptarL);
        lambBlock(run, in, lambs, 2);
    } else {
        for (int i = 0; i < 6; ++i) readdes(in);
    }
    readVectorRecord(in, res, &m.dwoolptrL[1][1], 2, 3, "%10.5f");
    if (m.crossing == 2) readVectorRecord(in, res, &m.dwoolptrL[1][2], 2, 3, "%10.5f");
    else readdes(in);
    for (int g = 3; g <= 5; ++g) lambBlock(run, in, lambs, g);  // young stock reared for breeding
    readint(res, in, m.flushbbL);
    readint(res, in, m.flushabL);

    // Fattening variants of females, males and castrates.
    readcom(in);
    fatteningBlock(run, in, lambs, 6, m.lf[1]);
    readcom(in);
    fatteningBlock(run, in, lambs, 11, m.lf[2]);
    readcom(in);
    fatteningBlock(run, in, lambs, 16, m.lf[0]);

    // Drinking water.
    waterMatrix(run, in, m.dwatE, 1, m.fE);
    waterMatrix(run, in, m.dwatR, 1, m.fR);
    readVectorRecord(in, res, &m.dwatL[1][1], m.nfs, 1, "%10.1f");
    if (m.typew == 2) readVectorRecord(in, res, &m.dwatL[2][1], m.nfs, 1, "%10.1f");
    else readdes(in);
    waterMatrix(run, in, m.dwatL, 3, 3);
    readcom(in);
    if (m.lf[1] > 0) waterMatrix(run, in, m.dwatL, 6, m.lf[1]);
    else readdes(in);
    readcom(in);
    if (m.lf[2] > 0) waterMatrix(run, in, m.dwatL, 11, m.lf[2]);
    else readdes(in);
    readcom(in);
    if (m.lf[0] > 0) waterMatrix(run, in, m.dwatL, 16, m.lf[0]);
    else readdes(in);
    readfloat(res, in, m.prwat);
    if (m.prwat < 0) warnOdd(in, "a negative price of water");
}
