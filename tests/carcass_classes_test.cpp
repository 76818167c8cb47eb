// Carcass-class processing after the progeny numbers: when the two price
// files are read, the class means, the clearing of empty progeny
// categories (and the return of their input prices), the dressing
// percentages of the fattening variants relative to the reference variant,
// and the number of fattened progeny.
#include <gtest/gtest.h>

#include "herd/herd.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// Runs the carcass-class step in the harness directory, where the input
// files (if any) have been written.
void run(Harness& h, int itrait) {
    h.model->itrait = itrait;
    testutil::InDir d(h.dir.path());
    carcassClasses(h.run);
}

// n records that are skipped (empty texts).
std::string skipped(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "\"\" \"\"\n";
    return s;
}

// The smallest files of both kinds: live-weight pricing, pure-bred only.
const std::string kFile13 = "/ system /1 \"Pricing system\" \"code\"\n/ live weight /3 \"p1\" \"u\"\n" + skipped(1) +
                            "/ classes /" + skipped(4) + "/ dressing /" + skipped(2) + "/ carcass weight /" +
                            skipped(2) + "/ quality /" + skipped(8) + "/ fleshiness /" + skipped(6);
const std::string kFile14 = "/ system /1 \"Pricing system\" \"code\"\n/ live weight /4 \"p1\" \"u\"\n" + skipped(1) +
                            "/ classes /" + skipped(4) + "/ dressing /" + skipped(6) + "/ carcass weight /" +
                            skipped(2) + "/ fleshiness /" + skipped(6);

}  // namespace

// Without lambs slaughtered at weaning and without fattening neither file
// is opened (none exists here): no output, no section, means stay 0.
TEST(CarcassClasses, NoSlaughteredProgenyNoFiles) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 2;
    m.l1skL[13][1] = 0.4;   // breeding lambs only
    run(h, 0);
    EXPECT_EQ(h.console(), "");
    EXPECT_EQ(h.results(), "");
    EXPECT_EQ(h.run.sectionNo, 0);
    EXPECT_EQ(m.pricewL, 0);
    EXPECT_EQ(m.pricefL, 0);
    EXPECT_EQ(double(m.avclwL[1]), 0.0);
    EXPECT_EQ(double(m.avfleshwL[2]), 0.0);
    EXPECT_EQ(double(m.avclfL[1]), 0.0);
}

TEST(CarcassClasses, WeanedSlaughterLambsOnlyReadTheirFile) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 1;
    m.l1skL[32][1] = 0.3;
    h.dir.write("INPUTS13.TXT", kFile13);
    h.run.sectionNo = 12;
    run(h, 0);
    EXPECT_EQ(h.console(), "Reading data from INPUTS13.TXT\n");
    EXPECT_EQ(h.results(), "2.13 Data from file INPUTS13.TXT\n--------------------------------\n"
                           " Pricing system    (code):  1 "
                           " p1    (u):      3.0000 \n\n\n");
    EXPECT_EQ(m.pricewL, 1);
    EXPECT_FLOAT_EQ(m.prlwwL[1], 3.0f);
}

TEST(CarcassClasses, BothFilesInTheirOrder) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 1;
    m.l1skL[7][1] = 0.2;
    m.lf[0] = 1;
    h.dir.write("INPUTS13.TXT", kFile13);
    h.dir.write("INPUTS14.TXT", kFile14);
    h.run.sectionNo = 12;
    run(h, 0);
    EXPECT_EQ(h.console(), "Reading data from INPUTS13.TXT\nReading data from INPUTS14.TXT\n");
    EXPECT_EQ(h.run.sectionNo, 14);
    const std::string res = h.results();
    EXPECT_NE(res.find("2.14 Data from file INPUTS14.TXT\n"), std::string::npos);
    EXPECT_EQ(res.substr(res.size() - 27), " p1    (u):      4.0000 \n\n\n");
    EXPECT_FLOAT_EQ(m.prlwfL[1], 4.0f);
}

TEST(CarcassClasses, FattenedProgenyOnlyReadTheirFile) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 1;
    m.lf[2] = 1;
    h.dir.write("INPUTS14.TXT", kFile14);
    run(h, 0);
    EXPECT_EQ(h.console(), "Reading data from INPUTS14.TXT\n");
    EXPECT_EQ(m.pricefL, 1);
}

// Later evaluations never read (the files are absent and would stop the run).
TEST(CarcassClasses, OnlyTheBaseEvaluationReads) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 2;
    m.l1skL[7][2] = 0.5;
    m.lf[1] = 2;
    run(h, 7);
    EXPECT_EQ(h.console(), "");
    EXPECT_EQ(h.run.sectionNo, 0);
}

TEST(CarcassClasses, ClassMeansInEveryEvaluation) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 2;
    m.pricewL = 2;
    m.nclwL = 3;
    const float w1[4] = {0, 0.2f, 0.5f, 0.3f}, w2[4] = {0, 0.0f, 0.0f, 1.0f};
    for (int s = 1; s <= 3; ++s) {
        m.pclwL[1][s] = w1[s];
        m.pclwL[2][s] = w2[s];
    }
    m.pricefL = 2;
    m.nclfL = 2;
    m.pclfL[1][1] = 0.25;
    m.pclfL[1][2] = 0.75;
    m.pclfL[2][1] = 1.0;
    run(h, 3);
    EXPECT_NEAR(double(m.avclwL[1]), 0.2 + 1.0 + 0.9, 1e-6);
    EXPECT_NEAR(double(m.avclwL[2]), 3.0, 1e-6);
    EXPECT_NEAR(double(m.avclfL[1]), 1.75, 1e-6);
    EXPECT_NEAR(double(m.avclfL[2]), 1.0, 1e-6);
    // The evaluation loop shifts frequency to a higher class: the mean follows.
    m.pclwL[1][1] = 0.1;
    m.pclwL[1][3] = 0.4;
    run(h, 4);
    EXPECT_NEAR(double(m.avclwL[1]), 0.1 + 1.0 + 1.2, 1e-6);
}

TEST(CarcassClasses, FleshinessAndFatCoveringMeans) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 1;
    m.pricewL = 4;
    m.nclflwL = 2;
    m.nclfcwL = 3;
    // Rows: fleshiness 1, 2; columns: fat covering 1..3.
    const float p[3][4] = {{}, {0, 0.1f, 0.2f, 0.1f}, {0, 0.2f, 0.3f, 0.1f}};
    for (int f = 1; f <= 2; ++f)
        for (int c = 1; c <= 3; ++c) m.pclfcwL[1][f][c] = p[f][c];
    m.pricefL = 4;
    m.nclflfL = 3;
    m.nclfcfL = 1;
    m.pclfcfL[1][1][1] = 0.5;
    m.pclfcfL[1][3][1] = 0.5;
    m.avfleshwL[2] = 9;   // no cross-bred column without crossing
    run(h, 2);
    EXPECT_NEAR(double(m.avfleshwL[1]), 1 * 0.4 + 2 * 0.6, 1e-6);
    EXPECT_NEAR(double(m.avfcwL[1]), 1 * 0.3 + 2 * 0.5 + 3 * 0.2, 1e-6);
    EXPECT_NEAR(double(m.avfleshfL[1]), 2.0, 1e-6);
    EXPECT_NEAR(double(m.avfcfL[1]), 1.0, 1e-6);
    EXPECT_EQ(double(m.avfleshwL[2]), 9.0);
}

// Categories with fewer than 1e-06 animals get weight, price and revenue 0;
// when a later evaluation gives the category animals again, the price and
// revenue as read come back.
TEST(CarcassClasses, EmptyCategoriesAndTheReturnOfTheirInputPrices) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 2;
    for (int c : {13, 38}) {
        for (int b = 1; b <= 2; ++b) {
            m.wP[c][b] = 30.0;
            m.prsbL[c][b] = 3.5;
            m.revsbL[c][b] = 120.0;
        }
    }
    m.l1skL[13][1] = 0.4;
    m.l1skL[13][2] = 5e-07;
    m.l1skL[38][1] = 2e-06;
    m.l1skL[38][2] = 0.1;
    run(h, 0);
    EXPECT_FLOAT_EQ(m.wP[13][1], 30.0f);
    EXPECT_FLOAT_EQ(m.prsbL[13][1], 3.5f);
    EXPECT_FLOAT_EQ(m.revsbL[13][1], 120.0f);
    EXPECT_EQ(double(m.wP[13][2]), 0.0);
    EXPECT_EQ(double(m.prsbL[13][2]), 0.0);
    EXPECT_EQ(double(m.revsbL[13][2]), 0.0);
    EXPECT_FLOAT_EQ(m.revsbL[38][1], 120.0f);
    EXPECT_FLOAT_EQ(m.prsbL[38][2], 3.5f);

    // An evaluation without pure-bred animals in category 13 ...
    m.l1skL[13][1] = 0;
    run(h, 20);
    EXPECT_EQ(double(m.wP[13][1]), 0.0);
    EXPECT_EQ(double(m.prsbL[13][1]), 0.0);
    EXPECT_EQ(double(m.revsbL[13][1]), 0.0);

    // ... and the next one with animals again (the growth phase has set
    // the weight anew; a revenue computed from the price is overwritten).
    m.l1skL[13][1] = 0.4;
    m.l1skL[13][2] = 0.3;
    m.wP[13][1] = 31.0;
    m.revsbL[38][1] = 77.0;
    run(h, 21);
    EXPECT_FLOAT_EQ(m.wP[13][1], 31.0f);
    EXPECT_FLOAT_EQ(m.prsbL[13][1], 3.5f);
    EXPECT_FLOAT_EQ(m.revsbL[13][1], 120.0f);
    EXPECT_FLOAT_EQ(m.prsbL[13][2], 3.5f);   // empty in the base evaluation, priced now
    EXPECT_FLOAT_EQ(m.revsbL[38][1], 120.0f);
    // Every other category is empty in every evaluation.
    for (int c = 1; c <= 48; ++c) {
        if (c == 13 || c == 38) continue;
        EXPECT_EQ(double(m.prsbL[c][1]) + double(m.revsbL[c][2]), 0.0) << c;
    }
}

namespace {

// Fattening of females (2 variants), males (2) and castrates (1), priced
// by carcass weight.  The reference of pure-bred progeny is female variant
// 1; no female variant applies to cross-bred progeny, whose reference is
// male variant 2 (their female dressing percentages are 0).  The base
// evaluation reads the dressing percentages from INPUTS14.TXT.
void fattening(Harness& h, int pricefL = 3) {
    Model& m = *h.model;
    m.crossing = 2;
    m.lf[0] = 1;
    m.lf[1] = 2;
    m.lf[2] = 2;
    m.fatpb = 1;
    m.fatcb = 1;
    m.ispb = 1;
    m.ilpb = 1;
    m.iscb = 2;
    m.ilcb = 2;
    h.dir.write("INPUTS14.TXT", "/ system /" + std::to_string(pricefL) + " \"Pricing system\" \"code\"\n" +
                                    "/ live weight /2.2 \"p1\" \"u\"\n2.4 \"p2\" \"u\"\n/ classes /" + skipped(4) +
                                    "/ dressing /\n"
                                    "44 \"castrates pure\" \"%\"\n46 \"castrates cross\" \"%\"\n"
                                    "50 48 \"females pure\" \"%\"\n0 0 \"females cross\" \"%\"\n"
                                    "52 55 \"males pure\" \"%\"\n53 50 \"males cross\" \"%\"\n"
                                    "/ carcass weight /5.1 \"p1\" \"u\"\n5.3 \"p2\" \"u\"\n/ fleshiness /" +
                                    skipped(6));
}

}  // namespace

TEST(CarcassClasses, DressingRatiosAgainstTheReferenceVariant) {
    Harness h;
    Model& m = *h.model;
    fattening(h);
    run(h, 0);
    EXPECT_EQ(h.console(), "Reading data from INPUTS14.TXT\n");
    EXPECT_FLOAT_EQ(m.kdresfL[1][1][1], 1.0f);
    EXPECT_FLOAT_EQ(m.kdresfL[1][2][1], 48.0f / 50.0f);
    EXPECT_FLOAT_EQ(m.kdresfL[2][2][1], 55.0f / 50.0f);
    EXPECT_FLOAT_EQ(m.kdresfL[0][1][1], 44.0f / 50.0f);
    EXPECT_FLOAT_EQ(m.kdresfL[2][2][2], 1.0f);
    EXPECT_FLOAT_EQ(m.kdresfL[2][1][2], 53.0f / 50.0f);
    EXPECT_FLOAT_EQ(m.kdresfL[0][1][2], 46.0f / 50.0f);
    EXPECT_EQ(double(m.kdresfL[1][1][2]), 0.0);
    // The base evaluation leaves the dressing percentages as read.
    EXPECT_FLOAT_EQ(m.dresfL[2][1][1], 52.0f);

    // With the reference unchanged a later evaluation reproduces them
    // (the state after the evaluation loop holds base values).
    run(h, 3);
    EXPECT_FLOAT_EQ(m.dresfL[1][2][1], 48.0f);
    EXPECT_FLOAT_EQ(m.dresfL[0][1][2], 46.0f);
    EXPECT_FLOAT_EQ(m.dresfL[2][2][2], 50.0f);

    // The evaluation loop raises the pure-bred reference by 1 %: every
    // pure-bred variant follows, the cross-bred ones do not.
    m.dresfL[1][1][1] = 50.5;
    run(h, 10);
    EXPECT_NEAR(double(m.dresfL[1][1][1]), 50.5, 1e-5);
    EXPECT_NEAR(double(m.dresfL[1][2][1]), 48.48, 1e-4);
    EXPECT_NEAR(double(m.dresfL[2][1][1]), 52.52, 1e-4);
    EXPECT_NEAR(double(m.dresfL[0][1][1]), 44.44, 1e-4);
    EXPECT_FLOAT_EQ(m.dresfL[2][1][2], 53.0f);
    // And the cross-bred reference, lowered by 1 %.
    m.dresfL[1][1][1] = 50.0;
    m.dresfL[2][2][2] = 49.5;
    run(h, 10);
    EXPECT_NEAR(double(m.dresfL[2][1][2]), 52.47, 1e-4);
    EXPECT_NEAR(double(m.dresfL[0][1][2]), 45.54, 1e-4);
    EXPECT_EQ(double(m.dresfL[1][1][2]), 0.0);
    EXPECT_NEAR(double(m.dresfL[2][2][1]), 55.0, 1e-4);
    // The ratios themselves never change after the base evaluation.
    EXPECT_FLOAT_EQ(m.kdresfL[1][2][1], 48.0f / 50.0f);
}

// Priced by live weight, the dressing percentages are not read: no
// reference, no ratios, and the later evaluations keep them 0.
TEST(CarcassClasses, NoRatiosWithoutAReferenceDressingPercentage) {
    Harness h;
    Model& m = *h.model;
    fattening(h, 1);
    run(h, 0);
    EXPECT_FLOAT_EQ(m.prlwfL[2], 2.4f);
    EXPECT_EQ(double(m.dresfL[1][2][1]), 0.0);
    EXPECT_EQ(double(m.kdresfL[1][1][1]), 0.0);
    EXPECT_EQ(double(m.kdresfL[2][2][2]), 0.0);
    run(h, 10);
    EXPECT_EQ(double(m.dresfL[1][1][1]), 0.0);
    EXPECT_EQ(double(m.dresfL[2][1][2]), 0.0);
}

// A reference read as 0 forms no ratios of its breed group; the other
// breed group is not affected.
TEST(CarcassClasses, ZeroReferenceOfOneBreedGroup) {
    Harness h;
    Model& m = *h.model;
    fattening(h);
    m.ispb = 1;
    m.ilpb = 1;
    m.iscb = 1;   // taken as the cross-bred reference, whose dressing is 0
    m.ilcb = 1;
    run(h, 0);
    EXPECT_FLOAT_EQ(m.kdresfL[2][1][1], 52.0f / 50.0f);
    EXPECT_EQ(double(m.kdresfL[2][1][2]), 0.0);
    EXPECT_EQ(double(m.kdresfL[0][1][2]), 0.0);
}

// A breed group to which no fattening variant applies has no reference: its
// dressing percentages are neither related nor rebuilt.
TEST(CarcassClasses, BreedGroupWithoutFatteningKeepsItsDressingPercentages) {
    Harness h;
    Model& m = *h.model;
    fattening(h);
    m.fatcb = 0;
    m.iscb = 0;
    m.ilcb = 0;
    run(h, 0);
    EXPECT_EQ(double(m.kdresfL[2][1][2]), 0.0);
    EXPECT_EQ(double(m.kdresfL[0][1][2]), 0.0);
    run(h, 10);
    EXPECT_FLOAT_EQ(m.dresfL[2][1][2], 53.0f);
    EXPECT_FLOAT_EQ(m.dresfL[0][1][2], 46.0f);
    EXPECT_FLOAT_EQ(m.dresfL[2][2][1], 55.0f);
}

TEST(CarcassClasses, NoFatteningNoDressingRatios) {
    Harness h;
    Model& m = *h.model;
    fattening(h);
    m.fatpb = 0;
    m.fatcb = 0;
    run(h, 0);
    m.dresfL[1][1][1] = 60;
    run(h, 10);
    EXPECT_EQ(double(m.kdresfL[1][2][1]), 0.0);
    EXPECT_FLOAT_EQ(m.dresfL[1][2][1], 48.0f);
}

namespace {

void fattenedNumbers(Model& m) {
    m.crossing = 2;
    for (int c = 1; c <= 48; ++c) {
        m.l1skL[c][1] = 0.01 * c;
        m.l1skL[c][2] = 0.001 * c;
    }
}

}  // namespace

// Fattened progeny: the numbers in the fattening categories 8-12, 33-37
// and 43-47, counted when fattened progeny are paid by fleshiness and fat
// covering.
TEST(CarcassClasses, FattenedProgenyForTheFleshinessMeans) {
    Harness h;
    Model& m = *h.model;
    fattenedNumbers(m);
    m.pricefL = 4;
    run(h, 1);
    const double rows = (8 + 9 + 10 + 11 + 12) + (33 + 34 + 35 + 36 + 37) + (43 + 44 + 45 + 46 + 47);
    EXPECT_NEAR(double(m.favfL[1]), 0.01 * rows, 1e-5);
    EXPECT_NEAR(double(m.favfL[2]), 0.001 * rows, 1e-6);
}

TEST(CarcassClasses, FattenedProgenyNotCountedWhenOnlyWeanedLambsAreClassified) {
    Harness h;
    Model& m = *h.model;
    fattenedNumbers(m);
    m.pricewL = 4;
    m.pricefL = 3;
    m.favfL[1] = 5;
    m.favfL[2] = 5;
    run(h, 1);
    EXPECT_EQ(double(m.favfL[1]), 0.0);
    EXPECT_EQ(double(m.favfL[2]), 0.0);
    // Neither system classifies by fleshiness: favfL is left alone.
    m.pricewL = 2;
    m.favfL[1] = 5;
    run(h, 1);
    EXPECT_EQ(double(m.favfL[1]), 5.0);
}
