// Chapter 3 of the results file is written between text fragments that are
// consumed in a fixed order.  With fragments that carry their own number,
// "<1>" to "<301>", a copy or skip too many or too few shows as a wrong
// number beside a section heading, a trait weight or the end of the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>

#include "context/run.h"
#include "input/reader.h"
#include "model/model.h"
#include "report/results.h"

namespace {

constexpr int kFragments = 301;

// The first fragment of each section 3.1 .. 3.14 (the chapter heading is
// fragment 3, the closing fragment 301).
const int kSectionStart[15] = {0, 4, 10, 39, 45, 88, 95, 98, 108, 124, 174, 211, 241, 258, 265};

struct Config {
    int crossing, typew, typeb, clt, fattening, stock, ewopt, LL, RR, priceS, pricewL, pricefL;
};

std::string describe(const Config& c) {
    char s[200];
    std::snprintf(s, sizeof s,
                  "crossing %d typew %d typeb %d clt %d fattening %d stock %d ewopt %d LL %d RR %d priceS %d "
                  "pricewL %d pricefL %d",
                  c.crossing, c.typew, c.typeb, c.clt, c.fattening, c.stock, c.ewopt, c.LL, c.RR, c.priceS,
                  c.pricewL, c.pricefL);
    return s;
}

// A model state with the system variables of c.  With stock, every progeny
// category, ram state and ewe state holds animals in every genotype column
// and animals are purchased; without, the flock has no progeny at all.
void configure(Model& m, const Config& c) {
    resetModel(m);
    m.crossing = c.crossing;
    m.typew = c.typew;
    m.typeb = c.typeb;
    m.clt = c.clt;
    m.ewopt = c.ewopt;
    m.LL = c.LL;
    m.RR = c.RR;
    m.TE = (c.LL - 1) * 5 + 3;
    m.TR = (c.RR - 1) * 4 + 3;
    m.priceS = c.priceS;
    m.pricewL = c.pricewL;
    m.pricefL = c.pricefL;
    m.nfs = 3;
    if (c.fattening) {
        m.fatpb = 1;
        m.fatcb = c.crossing == 2 ? 1 : 0;
        m.lf[0] = 1;
        m.lf[1] = 2;
        m.lf[2] = 3;
    }
    const double n = c.stock ? 0.01 : 0.0;
    for (int s = 1; s <= m.PP; ++s)
        for (int k = 1; k <= c.crossing; ++k) {
            m.l1skL[s][k] = n;
            m.l1skL[s][0] = m.l1skL[s][0] + n;
            m.ffL[s][k][1][1] = 10 * n;
        }
    for (int s = 1; s <= m.TR; ++s) {
        m.l1R[s] = 0.1;
        for (int k = 1; k <= c.crossing; ++k) m.l1aR[s][k] = 0.05;
        m.ffR[s][1][1][1] = 100;
    }
    for (int s = 1; s <= m.TE; ++s) m.l1E[s] = 1.0 / m.TE;
    for (int p = 1; p <= c.LL; ++p) m.l3E[p] = m.l4E[p] = 1.0 / c.LL;
    m.npurchFP = c.stock ? 0.1 : 0.0;
    m.ppurchMP = c.stock ? 0.3 : 0.0;
    // Weights that tell their trait and column: 100 x column + trait.
    for (int t = 1; t <= 35; ++t)
        for (int k = 0; k <= 2; ++k) m.evp[t][k] = 100 * k + t;
}

// The texts "<1>" .. "<n>", one fragment each.
std::string numberedFragments(int n) {
    std::string s;
    for (int k = 1; k <= n; ++k) s += "\"<" + std::to_string(k) + ">\"";
    return s;
}

struct Written {
    std::string chapter;  // the results file from fragment 3 on
    std::string left;     // what is left of the fragment file afterwards
    bool stopped = false;
};

// Copies the fragments that come before chapter 3, as the driver does, and
// writes the chapter.
Written writeChapter(Model& m, const std::string& fragments) {
    Written w;
    Run run(m);
    char* out = nullptr;
    std::size_t outLen = 0;
    run.res = open_memstream(&out, &outLen);
    std::FILE* con = std::tmpfile();
    run.con = con;
    std::FILE* texts = fmemopen(const_cast<char*>(fragments.data()), fragments.size(), "r");
    run.texts.f = texts;
    run.texts.name = "TEXTS_OUT.TXT";
    run.texts.run = &run;
    run.texts.fragments = true;
    outputr(run.texts);
    outputr(run.texts);
    try {
        writeResults(run);
    } catch (const RunStopped&) {
        w.stopped = true;
    }
    for (int ch; (ch = std::fgetc(texts)) != EOF;) w.left += char(ch);
    closeInput(run.texts);
    std::fclose(con);
    std::fclose(run.res);
    w.chapter.assign(out, outLen);
    std::free(out);
    return w;
}

// Section number of fragment k.
int sectionOf(int k) {
    int n = 1;
    while (n < 14 && kSectionStart[n + 1] <= k) ++n;
    return n;
}

void expectAligned(Model& m, const Config& c) {
    SCOPED_TRACE(describe(c));
    configure(m, c);
    const Written w = writeChapter(m, numberedFragments(kFragments));
    ASSERT_FALSE(w.stopped);
    EXPECT_EQ(w.left, "\"<301>\"");

    // Every section heading stands before the first fragment of its section.
    for (int n = 1; n <= 14; ++n) {
        const char* fmt = n == 1 ? "\n3.%d <%d>" : n <= 4 ? "\n\n3.%d <%d>" : "\n\n3.%d<%d>";
        char heading[32];
        std::snprintf(heading, sizeof heading, fmt, n, kSectionStart[n]);
        EXPECT_NE(w.chapter.find(heading), std::string::npos) << "section 3." << n;
    }

    // Subsections are numbered 1, 2, ... within each section, and each
    // stands before a fragment of its own section.
    std::map<int, int> last;
    static const std::regex sub("\n\n3\\.([0-9]+)\\.([0-9]+) ?<([0-9]+)>");
    for (std::sregex_iterator i(w.chapter.begin(), w.chapter.end(), sub), end; i != end; ++i) {
        const int n = std::stoi((*i)[1]), s = std::stoi((*i)[2]), k = std::stoi((*i)[3]);
        EXPECT_EQ(s, last[n] + 1) << "subsection 3." << n << "." << s;
        last[n] = s;
        EXPECT_EQ(sectionOf(k), n) << "subsection 3." << n << "." << s << " before fragment " << k;
    }

    // Each weight stands after the label of its own trait, from the column
    // that ewopt selects.
    const int col = c.ewopt == 0 ? 1 : c.ewopt == 1 ? 2 : 0;
    static const std::regex row("<([0-9]+)> *([0-9]+)\\.000");
    const std::string weights = w.chapter.substr(w.chapter.find("3.14<265>"));
    int rows = 0;
    for (std::sregex_iterator i(weights.begin(), weights.end(), row), end; i != end; ++i, ++rows) {
        const int t = std::stoi((*i)[1]) - 265;
        EXPECT_EQ(std::stoi((*i)[2]), 100 * col + t) << "trait " << t;
    }
    EXPECT_GE(rows, 10);
}

}  // namespace

// Every combination of the system variables that change the fragment
// sequence, with the price systems, LL and RR cycled through.
TEST(ResultsFile, FragmentsStayAlignedInEveryConfiguration) {
    auto m = std::make_unique<Model>();
    int i = 0;
    for (int crossing = 1; crossing <= 2; ++crossing)
        for (int typew = 1; typew <= 2; ++typew)
            for (int typeb = 1; typeb <= 3; ++typeb)
                for (int clt = 2; clt <= 4; ++clt)
                    for (int fattening = 0; fattening <= 1; ++fattening)
                        for (int stock = 0; stock <= 1; ++stock)
                            for (int ewopt = 0; ewopt <= 2; ++ewopt, ++i) {
                                const int prices = i * 7 % 80;  // 4 x 4 x 5 systems
                                expectAligned(*m, {crossing, typew, typeb, clt, fattening, stock, ewopt,
                                                   i % 2 ? 4 : 15, 1 + i % 5, 1 + prices % 4, 1 + prices / 4 % 4,
                                                   prices / 16});
                            }
}

// The weights rows that a system leaves out, traced by hand: artificial
// rearing without fattening moves from trait 2 over 3 to 4; a meat breed
// without class prices leaves out the class traits and the milk traits.
TEST(ResultsFile, WeightRowsLeftOut) {
    auto m = std::make_unique<Model>();
    configure(*m, {2, 2, 2, 4, 0, 1, 0, 8, 3, 1, 1, 1});
    const Written w = writeChapter(*m, numberedFragments(kFragments));
    const std::string weights = w.chapter.substr(w.chapter.find("3.14<265>"));
    std::string printed;
    static const std::regex row("<([0-9]+)>");
    for (std::sregex_iterator i(weights.begin(), weights.end(), row), end; i != end; ++i)
        printed += std::to_string(std::stoi((*i)[1]) - 265) + " ";
    EXPECT_EQ(printed, "0 1 4 5 6 8 20 21 22 23 25 26 27 35 ");
}

// Too few fragments stop the run with the name of the file.
TEST(ResultsFile, TooFewFragmentsStop) {
    auto m = std::make_unique<Model>();
    configure(*m, {1, 1, 1, 2, 0, 1, 0, 6, 2, 1, 1, 1});
    const Written w = writeChapter(*m, numberedFragments(200));
    EXPECT_TRUE(w.stopped);
}
