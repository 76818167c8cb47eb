// Changes of input numbers by name against the files themselves: every
// element that --list shows, in every system of the suite, set to its
// listed value gives the plain run back; a sample of them scaled by 1.1
// gives exactly what the file edited by hand gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

#include "driver/driver.h"
#include "driver/input_list.h"
#include "context/run.h"
#include "input/overrides.h"
#include "model/input_ranges.h"
#include "model/model.h"
#include "report/dump.h"
#include "systems.h"

#include <nlohmann/json.hpp>

using testutil::capture;
using testutil::InDir;
using testutil::System;
using testutil::TempDir;
namespace fs = std::filesystem;

namespace {

// One row of --list.
struct Listed {
    std::string name, value, file;
    int line = 0, record = 0;
    std::string label, unit, min, max;
};

std::vector<Listed> parseList(const std::string& tsv) {
    std::vector<Listed> rows;
    std::istringstream in(tsv);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "name\tvalue\tfile\tline\trecord\tlabel\tunit\tmin\tmax");
    while (std::getline(in, line)) {
        std::vector<std::string> f(1);
        for (char c : line)
            if (c == '\t') f.emplace_back();
            else f.back() += c;
        EXPECT_EQ(f.size(), 9u) << line;
        if (f.size() != 9) continue;
        rows.push_back({f[0], f[1], f[2], std::stoi(f[3]), std::stoi(f[4]), f[5], f[6], f[7], f[8]});
    }
    return rows;
}

std::string dumpOf(const Model& m) {
    return capture([&](std::FILE* f) {
        writeDump(m, f);
        return true;
    });
}

// A working directory with the system's input files.
void prepare(const System& s, const TempDir& dir) {
    testutil::copyExample(s.example, dir);
    for (const testutil::Edit& e : s.edits) testutil::applyEdit(dir, e);
}

// The tracing reading of the current directory: the model after the base
// evaluation and the rows of --list.
struct Traced {
    ModelCopy model = newModel();
    Overrides ov;
    std::vector<Listed> rows;
};
std::unique_ptr<Traced> trace() {
    auto t = std::make_unique<Traced>();
    Run run(*t->model);
    run.con = discardStream();
    EXPECT_TRUE(traceInputs(run, t->ov));
    t->rows = parseList(capture([&](std::FILE* f) { return writeInputList(t->ov, f); }));
    // The place that the checks of the model name for a number is the one
    // the trace found, whatever the kind of record (dates among them).
    const auto* base = reinterpret_cast<const unsigned char*>(t->model.get());
    for (const TracedNumber* n : t->ov.changeable()) {
        const std::string place = placeOf(run, base + n->element.offset);
        EXPECT_EQ(place.rfind(n->where.file + ", record " + std::to_string(n->where.record) + " (line " +
                                  std::to_string(n->where.line) + ", ",
                              0),
                  0u)
            << n->name << ": " << place;
    }
    return t;
}

// The changes of the current directory's system located as the command
// line locates them; the model holds the base evaluation with them made.
bool locate(Overrides& ov, const std::vector<std::string>& changes, bool scale, Model& m, std::string& error) {
    for (const std::string& c : changes) {
        Override o;
        if (!parseOverride(c, scale, o, error)) return false;
        o.option = scale ? "--scale" : "--set";
        ov.items.push_back(o);
    }
    Run run(m);
    run.con = discardStream();
    run.overrides = &ov;
    return locateChanges(run, error);
}

class ListedNumbers : public testing::TestWithParam<System> {};

}  // namespace

// Each listed element set to its listed value is found where --list says,
// is taken by the reader, and leaves the whole model state after the base
// evaluation (everything CHECKS shows) as the plain run has it.  Elements
// cleared or defaulted before their number is read, such as the base milk
// price, are among them.
TEST_P(ListedNumbers, SetToTheirListedValueGiveThePlainRun) {
    TempDir dir;
    prepare(GetParam(), dir);
    InDir in(dir.path());
    const auto plain = trace();
    const std::string plainDump = dumpOf(*plain->model);
    std::set<std::string> files;
    // Every number the system reads has a range in the table.
    for (const TracedNumber* t : plain->ov.changeable())
        EXPECT_NE(inputranges::find(t->base, t->idx), nullptr) << t->name << " (" << t->unit << ")";
    const ModelCopy m = newModel();
#ifdef KARVEL1_SANITIZED
    constexpr std::size_t kEvery = 20;  // ten times slower: every twentieth element
#else
    constexpr std::size_t kEvery = 1;
#endif
    for (std::size_t i = 0; i < plain->rows.size(); i += kEvery) {
        const Listed& row = plain->rows[i];
        files.insert(row.file);
        // Located in the plain run's trace, as the first reading of the
        // command line's search does, then read with the change.
        Override o;
        std::string error;
        ASSERT_TRUE(parseOverride(row.name + "=" + row.value, false, o, error)) << error;
        o.option = "--set";
        Overrides ov;
        ov.items = {o};
        ov.trace = plain->ov.trace;
        bool same = false;
        ASSERT_TRUE(ov.locate(true, error, same) && ov.prepare(error)) << row.name << ": " << error;
        const Override& at = ov.items[0];
        EXPECT_EQ(at.at.file + ":" + std::to_string(at.at.line) + ":" + std::to_string(at.at.record),
                  row.file + ":" + std::to_string(row.line) + ":" + std::to_string(row.record))
            << row.name;
        EXPECT_EQ(at.usedText, row.value) << row.name;
        // Each run starts from a model state of zeros and defaults.
        ::Run run(*m);
        run.con = discardStream();
        ASSERT_TRUE(evaluateInputs(run, &ov)) << row.name;
        // The reader took the number of the command line.
        EXPECT_TRUE(ov.items[0].applied) << row.name;
        // The same model state (the dump is made of its bytes), or the
        // first line of the dump that differs.
        if (std::memcmp(m.get(), plain->model.get(), sizeof(Model)) != 0) {
            const std::string dump = dumpOf(*m);
            std::size_t d = 0;
            while (d < dump.size() && d < plainDump.size() && dump[d] == plainDump[d]) ++d;
            const std::size_t from = plainDump.rfind('\n', d) + 1;
            ADD_FAILURE() << row.name << " = " << row.value << " changes "
                          << plainDump.substr(from, plainDump.find('\n', d) - from);
        }
    }
    // Every input file that the system reads has numbers to change.
    EXPECT_GE(files.size(), kEvery == 1 ? 12u : 8u);
}

INSTANTIATE_TEST_SUITE_P(All, ListedNumbers, testing::ValuesIn(testutil::systems()),
                         [](const testing::TestParamInfo<System>& i) { return std::string(i.param.name); });

namespace {

// The numbers of an input file as a person editing it sees them: the words
// outside the "..." texts and the /.../ comments that read as numbers, with
// their line and place.
struct FileNumber {
    int line;
    std::size_t at, size;
    double value;
};
std::vector<FileNumber> numbersOf(const std::string& text) {
    std::vector<FileNumber> out;
    int line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '"' || c == '/') {
            const std::size_t end = text.find(c, i + 1);
            for (std::size_t k = i; k < end && k < text.size(); ++k) line += text[k] == '\n';
            i = end == std::string::npos ? text.size() : end + 1;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            line += c == '\n';
            ++i;
        } else {
            const std::size_t end = text.find_first_of(" \t\r\n\"/", i);
            const std::string word = text.substr(i, end - i);
            char* stop = nullptr;
            const double v = std::strtod(word.c_str(), &stop);
            if (!word.empty() && *stop == '\0') out.push_back({line, i, word.size(), v});
            i = end == std::string::npos ? text.size() : end;
        }
    }
    return out;
}

struct Outputs {
    int status = -1;
    std::string messages, checks, checks1, results;
};

// A whole run of the current directory, with the changes (--scale where
// scale) by name.
Outputs wholeRun(const std::vector<std::string>& changes = {}, bool scale = false) {
    ModelCopy m = newModel();
    Overrides ov;
    std::string error;
    if (!changes.empty()) {
        EXPECT_TRUE(locate(ov, changes, scale, *m, error)) << error;
    }
    Run run(*m);
    run.con = discardStream();
    run.msg = std::tmpfile();
    if (!changes.empty()) run.overrides = &ov;
    std::FILE* input = std::fopen(".stdin", "w+");
    std::fputs("R.TXT\n", input);
    std::rewind(input);
    Outputs o;
    o.status = runProgram(run, input);
    std::fclose(input);
    o.messages.resize(std::size_t(std::ftell(run.msg)));
    std::rewind(run.msg);
    EXPECT_EQ(std::fread(o.messages.data(), 1, o.messages.size(), run.msg), o.messages.size());
    std::fclose(run.msg);
    if (o.status != 0) return o;
    o.checks = testutil::readFile("CHECKS");
    o.checks1 = testutil::readFile("CHECKS1");
    o.results = testutil::readFile("R.TXT");
    // The note of the changes at the top of the results file is what a
    // change by name adds.
    if (!changes.empty()) o.results.erase(0, o.results.find("\n\n") + 2);
    return o;
}

}  // namespace

// A sample spread over every input file of the three examples, the base
// milk price among it: --scale NAME=1.1 gives the dumps and results of the
// file whose number a person multiplied by 1.1.  The sample takes numbers
// that are not zero and stand alone with their value on their line, so that
// the hand edit finds them.
TEST(ChangesByName, ScaledNumbersGiveTheFileEditedByHand) {
#ifdef KARVEL1_SANITIZED
    constexpr int kPerFile = 1;  // whole runs are ten times slower
#else
    constexpr int kPerFile = 2;
#endif
    int compared = 0;
    std::set<std::string> filesCovered;
    for (const char* example : {"dairy", "meat", "extensive"}) {
        TempDir dir;
        testutil::copyExample(example, dir);
        InDir in(dir.path());
        const auto plain = trace();
        const std::string plainDump = dumpOf(*plain->model);
        std::map<std::string, std::vector<const Listed*>> candidates;
        std::map<std::string, std::vector<FileNumber>> numbers;
        for (const Listed& row : plain->rows) {
            if (!numbers.count(row.file)) numbers[row.file] = numbersOf(dir.read(row.file));
            const double v = std::strtod(row.value.c_str(), nullptr);
            if (v == 0) continue;
            int same = 0;
            for (const FileNumber& n : numbers[row.file])
                same += n.line == row.line && RealStored(n.value) == RealStored(v);
            if (same == 1) candidates[row.file].push_back(&row);
        }
        for (const auto& [file, rows] : candidates) {
            // The base milk price, then candidates spread over the file
            // (halving strides) until kPerFile of the file are compared.
            std::vector<const Listed*> sample;
            for (const Listed* r : rows)
                if (r->name == "prmilkb") sample.push_back(r);
            for (std::size_t stride = rows.size(); stride > 0; stride /= 2)
                for (std::size_t i = 0; i < rows.size(); i += stride) sample.push_back(rows[i]);
            std::set<std::string> done;
            int comparedInFile = 0;
            for (const Listed* row : sample) {
                if (comparedInFile == kPerFile) break;
                if (!done.insert(row->name).second) continue;
                const std::string saved = dir.read(file);
                Overrides ov;
                ModelCopy probe = newModel();
                std::string error;
                if (!locate(ov, {row->name + "=1.1"}, true, *probe, error)) {
                    // A whole number that the factor would give a fraction.
                    EXPECT_NE(error.find("is a whole number"), std::string::npos) << row->name << ": " << error;
                    continue;
                }
                const Outputs changed = wholeRun({row->name + "=1.1"}, true);

                std::string text = saved;
                for (const FileNumber& n : numbers[file])
                    if (n.line == row->line && RealStored(n.value) == RealStored(std::strtod(row->value.c_str(), nullptr))) {
                        char scaled[64];
                        std::snprintf(scaled, sizeof scaled, "%.15g", double(RealStored(n.value)) * 1.1);
                        text.replace(n.at, n.size, scaled);
                    }
                dir.write(file, text);
                const Outputs edited = wholeRun();
                dir.write(file, saved);
                // A factor that takes a value out of its range stops both
                // runs with the same message.
                EXPECT_EQ(changed.status, edited.status) << example << " " << row->name;
                EXPECT_EQ(changed.messages, edited.messages) << example << " " << row->name;
                if (edited.status != 0) continue;
                EXPECT_NE(edited.checks, plainDump) << example << " " << row->name;
                EXPECT_TRUE(changed.checks == edited.checks) << example << " " << row->name;
                EXPECT_TRUE(changed.checks1 == edited.checks1) << example << " " << row->name;
                EXPECT_TRUE(changed.results == edited.results) << example << " " << row->name;
                filesCovered.insert(std::string(example) + "/" + file);
                ++compared;
                ++comparedInFile;
            }
        }
    }
    EXPECT_GE(compared, kPerFile == 2 ? 50 : 36);
    // Every file of each example but PARAS.TXT, whose numbers are counts and
    // options that a factor of 1.1 makes fractions.
    EXPECT_EQ(filesCovered.size(), 36u);
}

// A * index changes every element of that index that the system reads, as
// the same change of each element one by one does; the note at the top of
// the results file lists each element.
TEST(ChangesByName, StarIndexChangesEveryElementRead) {
    TempDir dir;
    testutil::copyExample("dairy", dir);
    const auto star = testutil::runKarvel1(dir, "", "-q -o R.TXT --scale 'prfE[*][1]=1.2'");
    ASSERT_EQ(star.status, 0) << star.err;
    const std::string starResults = dir.read("R.TXT"), starChecks1 = dir.read("CHECKS1");
    const auto each = testutil::runKarvel1(dir, "",
                                           "-q -o R.TXT --scale 'prfE[1][1]=1.2' --scale 'prfE[2][1]=1.2' "
                                           "--scale 'prfE[3][1]=1.2' --scale 'prfE[4][1]=1.2' "
                                           "--scale 'prfE[5][1]=1.2'");
    ASSERT_EQ(each.status, 0) << each.err;
    EXPECT_TRUE(starResults == dir.read("R.TXT"));
    EXPECT_TRUE(starChecks1 == dir.read("CHECKS1"));
    const std::string note = starResults.substr(0, starResults.find("\n\n"));
    EXPECT_NE(note.find("  prfE[1][1] = 0.192 (--scale 1.2; INPUTS08.TXT holds 0.160 in line 92, record 35)"),
              std::string::npos)
        << note;
    EXPECT_NE(note.find("  prfE[5][1] = "), std::string::npos) << note;
}

// --list as JSON holds the rows of the table; the program reads nothing
// but the inputs for it and writes no dump.
TEST(ChangesByName, ListAsJsonHasTheRowsOfTheTable) {
    TempDir dir;
    testutil::copyExample("meat", dir);
    const auto tsv = testutil::runKarvel1(dir, "", "--list");
    ASSERT_EQ(tsv.status, 0) << tsv.err;
    const auto json = testutil::runKarvel1(dir, "", "--list --json list.json");
    ASSERT_EQ(json.status, 0) << json.err;
    const auto j = nlohmann::json::parse(dir.read("list.json"));
    const std::vector<Listed> rows = parseList(tsv.out);
    ASSERT_EQ(j.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = j[i];
        EXPECT_EQ(r["value"].get<double>(), std::strtod(rows[i].value.c_str(), nullptr)) << rows[i].name;
        EXPECT_EQ(r["name"].get<std::string>() + " " +
                      r["file"].get<std::string>() + " " + std::to_string(r["line"].get<int>()) + " " +
                      std::to_string(r["record"].get<int>()) + " " + r["label"].get<std::string>() + " " +
                      r["unit"].get<std::string>(),
                  rows[i].name + " " + rows[i].file + " " + std::to_string(rows[i].line) +
                      " " + std::to_string(rows[i].record) + " " + rows[i].label + " " + rows[i].unit);
    }
    EXPECT_FALSE(testutil::fs::exists(dir / "CHECKS"));
    // Each row carries the texts of its own record.
    const auto conrate = std::find_if(rows.begin(), rows.end(), [](const Listed& r) { return r.name == "conrateE[2]"; });
    ASSERT_NE(conrate, rows.end());
    EXPECT_EQ(conrate->file + " " + conrate->label + " / " + conrate->unit,
              "INPUTS01.TXT Conception rate of ewes in cycles 1 to 6 / fraction of mated ewes");
    // The shares of castrates by fattening variant become shares of all
    // surplus males while their file is read: the element is not the
    // file's number, so it is neither listed nor changed by name.
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const Listed& r) { return r.name == "psp[0][1][1]"; }), 0);
    const auto set = testutil::runKarvel1(dir, "", "-q -o R.TXT --set 'psp[0][1][1]=0.5'");
    EXPECT_EQ(set.status, 2);
    EXPECT_NE(set.err.find("psp[0][1][1] is read from INPUTS05.TXT"), std::string::npos) << set.err;
    EXPECT_NE(set.err.find("but the program changes it while reading"), std::string::npos) << set.err;
}

// A * index is expanded in the reading with the other changes made: with
// pure-bred mating only, the birth weights of cross-bred lambs are no
// longer read, and the pattern is the pure-bred elements left.
TEST(ChangesByName, APatternTakesTheElementsReadWithTheOtherChanges) {
    TempDir dir;
    testutil::copyExample("extensive", dir);
    const std::string pureBred = "-q -o R.TXT --set crossing=1 --set ewopt=0 ";
    const auto star = testutil::runKarvel1(dir, "", pureBred + "--scale 'bwL[1][*][*]=1.1'");
    ASSERT_EQ(star.status, 0) << star.err;
    const std::string starResults = dir.read("R.TXT");
    const auto each = testutil::runKarvel1(dir, "", pureBred + "--scale 'bwL[1][1][1]=1.1' --scale 'bwL[1][2][1]=1.1'");
    ASSERT_EQ(each.status, 0) << each.err;
    EXPECT_TRUE(starResults == dir.read("R.TXT"));
    const std::string note = starResults.substr(0, starResults.find("\n\n"));
    EXPECT_NE(note.find("  bwL[1][2][1] = "), std::string::npos) << note;
    EXPECT_EQ(note.find("[2] = "), std::string::npos) << note;
}

// Writes every production system of the suite into its own directory under
// $KARVEL1_WRITE_SYSTEMS, for the tools that go through all of them (the
// seeds of the fuzzer, the probe of every input number); skipped when the
// variable is not set.
TEST(Systems, WrittenOutForTheTools) {
    const char* out = std::getenv("KARVEL1_WRITE_SYSTEMS");
    if (!out || !*out) GTEST_SKIP() << "KARVEL1_WRITE_SYSTEMS is not set";
    for (const System& s : testutil::systems()) {
        TempDir dir;
        testutil::copyExample(s.example, dir);
        for (const testutil::Edit& e : s.edits) testutil::applyEdit(dir, e);
        const fs::path to = fs::path(out) / s.name;
        fs::create_directories(to);
        fs::copy(dir.path(), to, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    }
}
