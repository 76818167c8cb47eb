// INPUTS07.TXT: the records of breeds that are not milked.
#include <gtest/gtest.h>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

TEST(Inputs07, RecordsEchoAndLitterClassesFromOne) {
    testutil::Harness h;
    Model& m = *h.model;
    m.typeb = 3;
    m.LL = 5;
    m.clt = 2;
    h.dir.write("INPUTS07.TXT",
                "/ Milk of suckling ewes /\n"
                "45 \"Milk until weaning\" \"kg\"\n"
                "1 \"Placement of ewes\" \"code\"\n"
                "2 \"Suckling lambs\" \"number\"\n"
                "0.9 1.0 1.1 1.05 0.95\n\"Factors for parity\" \"-\"\n"
                "1.0 1.3 \"Factors for litter size\" \"-\"\n");
    {
        testutil::InDir d(h.dir.path());
        h.run.sectionNo = 5;
        readInputFile(h.run, 7, readInputs07);
    }
    EXPECT_EQ(h.results(),
              "2.6 Data from file INPUTS07.TXT\n-------------------------------\n"
              " Milk until weaning    (kg):     45.0000 "
              " Placement of ewes    (code):  1 "
              " Suckling lambs    (number):  2 "
              "\nFactors for parity    (-): 0.900 1.000 1.100 1.050 0.950"
              "\nFactors for litter size    (-): 1.000 1.300"
              "\n\n\n");
    EXPECT_EQ(h.console(), "Reading data from INPUTS07.TXT\n");
    EXPECT_FLOAT_EQ(m.basemilkw, 45.0f);
    EXPECT_EQ(m.placE, 1);
    EXPECT_EQ(m.nsl, 2);
    EXPECT_FLOAT_EQ(m.ktlp[5], 0.95f);
    // Two numbers for two classes: class 0 keeps its 0.
    EXPECT_EQ(double(m.ktlsl[0]), 0.0);
    EXPECT_FLOAT_EQ(m.ktlsl[1], 1.0f);
    EXPECT_FLOAT_EQ(m.ktlsl[2], 1.3f);
    EXPECT_EQ(double(m.ktlsl[3]), 0.0);
}
