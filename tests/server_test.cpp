// The local web server (karvel1 serve) from outside, as the page uses it:
// the program runs as a process of its own on a copy of an example, the
// tests speak HTTP to it and compare its answers with what the command
// line gives for the same changes.  Refusals are one table; the queue of
// runs, concurrent clients, malformed requests and the memory of a long
// session are properties of one running server.
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <latch>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "test_util.h"

namespace {

using json = nlohmann::json;
using testutil::TempDir;
namespace fs = std::filesystem;

#ifdef KARVEL1_SANITIZED
constexpr bool kSanitized = true;  // every run about ten times slower: fewer of them
#else
constexpr bool kSanitized = false;
#endif

// `karvel1 serve DIR --port 0` on a fresh copy of an example, with the port
// and token of the one line it prints.  The command replaces itself by the
// server program, so the process started is the one that serves.
class Server {
public:
    explicit Server(const std::string& example, std::vector<std::string> port = {"--port", "0"}) {
        testutil::copyExample(example, dir_);
        start(std::move(port));
    }
    ~Server() {
        if (pid_ > 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        if (out_ >= 0) close(out_);
    }
    // Stops the server as Ctrl-C does: its exit status (128 + the signal
    // where one ended it; -1 where it did not stop within a minute, and was
    // killed, so that the test fails instead of hanging).
    int stop() {
        int st = 0;
        pid_t done = 0;
        if (pid_ <= 0 || kill(pid_, SIGINT) != 0) return -1;
        for (int i = 0; i < 6000 && (done = waitpid(pid_, &st, WNOHANG)) == 0; ++i) usleep(10000);
        if (done == 0) kill(pid_, SIGKILL), waitpid(pid_, &st, 0);
        pid_ = -1;
        return done == 0 ? -1 : WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    }
    pid_t pid() const { return pid_; }
    int port() const { return port_; }
    const std::string& token() const { return token_; }
    const TempDir& dir() const { return dir_; }

private:
    void start(std::vector<std::string> args) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        std::string dir = dir_.path().string();
        args.insert(args.begin(), {KARVEL1_EXE, "serve", dir});
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t tests = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            // The server ends with the tests, also when they are killed.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != tests) _exit(127);
            dup2(fds[1], 1);
            close(fds[0]);
            close(fds[1]);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        out_ = fds[0];  // stays open: the server never writes into a closed pipe
        ASSERT_GT(pid_, 0);
        std::string line;
        for (char c = 0; c != '\n';) {
            pollfd p{out_, POLLIN, 0};
            ASSERT_EQ(poll(&p, 1, 300000), 1) << "no line from the server: " << line;
            ASSERT_EQ(read(out_, &c, 1), 1) << "the server ended before its line: " << line;
            if (c != '\n') line += c;
        }
        const std::string head = "Serving " + dir + " at http://127.0.0.1:";
        const auto q = line.find("/?token=");
        ASSERT_TRUE(line.rfind(head, 0) == 0 && q != std::string::npos) << line;
        port_ = std::stoi(line.substr(head.size(), q - head.size()));
        token_ = line.substr(q + 8);
        ASSERT_EQ(token_.size(), 32u) << line;
        ASSERT_EQ(token_.find_first_not_of("0123456789abcdef"), std::string::npos) << line;
    }

    TempDir dir_;
    pid_t pid_ = -1;
    int out_ = -1;
    int port_ = 0;
    std::string token_;
};

// The servers of the running test suite, one per example, started when a
// test first asks and stopped after the suite's last test.
std::map<std::string, std::unique_ptr<Server>> servers;
Server& shared(const std::string& example) {
    auto& s = servers[example];
    if (!s) s = std::make_unique<Server>(example);
    return *s;
}
template <class Base> class WithServers : public Base {
protected:
    static void TearDownTestSuite() {
        for (auto& [example, s] : servers) EXPECT_EQ(s->stop(), 0) << "exit status of the server of " << example;
        servers.clear();
    }
};
using ServerSuite = WithServers<testing::Test>;

// One answer of the server.
struct Reply {
    int status = 0;  // 0: no answer at all (the connection failed)
    std::string error, type, text;
    httplib::Headers headers;
    json body;  // the text read as JSON (discarded when it is not JSON)
};

Reply call(const Server& s, const std::string& method, const std::string& path, const std::string& body = "",
           httplib::Headers headers = {}) {
    httplib::Client client("127.0.0.1", s.port());
    client.set_read_timeout(900);
    httplib::Request req;
    req.method = method;
    req.path = path;
    req.headers = std::move(headers);
    if (method == "POST" || !body.empty()) {
        req.body = body;
        req.headers.emplace("Content-Type", "application/json");
    }
    const auto res = client.send(req);
    if (!res) return Reply{0, httplib::to_string(res.error()), "", "", {}, {}};
    return Reply{res->status, "", res->get_header_value("Content-Type"), res->body, res->headers,
                 json::parse(res->body, nullptr, false)};
}

std::string describe(const Reply& r) {
    if (r.status == 0) return "no answer, the connection failed (" + r.error + ")";
    return "HTTP " + std::to_string(r.status) + ": " + r.text.substr(0, 500);
}

// A request with the token; a POST of a JSON body that must be answered
// with 200.
Reply api(const Server& s, const std::string& method, const std::string& path, const std::string& body = "") {
    return call(s, method, path, body, {{"X-Token", s.token()}});
}
json post(const Server& s, const std::string& path, const json& body) {
    const Reply r = api(s, "POST", path, body.dump());
    EXPECT_EQ(r.status, 200) << path << " " << body << ": " << describe(r);
    return r.body;
}

// An error answer: JSON with ok false and a message.
void expectError(const Reply& r) {
    ASSERT_TRUE(r.body.is_object()) << describe(r);
    EXPECT_EQ(r.body.value("ok", true), false) << r.text;
    EXPECT_NE(r.body.value("message", ""), "") << r.text;
}

std::string valueText(const json& v) { return v.is_string() ? v.get<std::string>() : v.dump(); }

// The command line's run of an example with the changes as --set options,
// and its output files.
struct CliRun {
    testutil::ProgramResult r;
    std::string results, csv, chart;
    json doc;
};
CliRun runCli(const std::string& example, const json& changes, bool sd = false) {
    TempDir dir;
    testutil::copyExample(example, dir);
    std::string args = "-q -o R.TXT --json r.json --csv r.csv";
    if (sd) args += " --sd SD.TXT --chart c.svg";
    for (const auto& [name, value] : changes.items()) args += " --set '" + name + "=" + valueText(value) + "'";
    CliRun c{testutil::runKarvel1(dir, "", args), dir.read("R.TXT"), dir.read("r.csv"), "", {}};
    if (sd) c.chart = dir.read("c.svg");
    c.doc = json::parse(dir.read("r.json"), nullptr, false);
    return c;
}

// The message the command line prints: after "Error message:" for a run
// that stops (without the line naming the files it kept); for a change it
// refuses, after the program's name, without the pointer to --help.
std::string cliMessage(const testutil::ProgramResult& r) {
    std::string e = r.err;
    const auto at = e.find("Error message:\n");
    if (r.status == 1 && at != std::string::npos) e = e.substr(at + 15, e.find("\nThe results written") - at - 15);
    else if (r.status == 2 && e.rfind("karvel1: ", 0) == 0) e = e.substr(9, e.find("\nRun 'karvel1 --help'") - 9);
    else return "";
    while (!e.empty() && e.back() == '\n') e.pop_back();
    return e;
}

// ---------------------------------------------------------------------------
// What every request must carry, and the answer when it does not.

struct Refusal {
    const char* name;
    const char* method;
    const char* path;   // {token}: the server's token
    const char* token;  // X-Token ({token}; {cut}: all but its last digit; {flip}: another first digit), nullptr: none
    const char* host;   // Host ({port}: the server's port), nullptr: the client's own
    const char* body;   // padded with spaces to pad bytes where pad > 0
    std::size_t pad;
    int status;
};

class RefusedRequest : public WithServers<testing::TestWithParam<Refusal>> {};

TEST_P(RefusedRequest, AnswerAndStatus) {
    const Refusal& c = GetParam();
    const Server& s = shared("dairy");
    const auto fill = [&](std::string t) {
        std::string flip = s.token();
        flip[0] = flip[0] == '0' ? '1' : '0';
        const std::pair<std::string, std::string> keys[] = {{"{token}", s.token()},
                                                            {"{cut}", s.token().substr(0, 31)},
                                                            {"{flip}", flip},
                                                            {"{port}", std::to_string(s.port())}};
        for (const auto& [key, value] : keys)
            for (auto at = t.find(key); at != std::string::npos; at = t.find(key)) t.replace(at, key.size(), value);
        return t;
    };
    httplib::Headers headers;
    if (c.token) headers.emplace("X-Token", fill(c.token));
    if (c.host) headers.emplace("Host", fill(c.host));
    std::string body = c.body;
    if (c.pad > 0) body.resize(c.pad, ' ');
    const Reply r = call(s, c.method, fill(c.path), body, headers);
    ASSERT_EQ(r.status, c.status) << describe(r);
    if (c.status != 200) {
        expectError(r);
    } else if (r.type.rfind("text/html", 0) == 0) {
        EXPECT_NE(r.text.find("<html"), std::string::npos);
    } else {
        EXPECT_EQ(r.body.value("ok", false), true) << r.text;
    }
}

constexpr const char* kTok = "{token}";
constexpr const char* kNoChanges = R"({"changes": {}})";
constexpr std::size_t kMB = 1048576;

INSTANTIATE_TEST_SUITE_P(
    Server, RefusedRequest,
    testing::Values(
        Refusal{"Inputs", "GET", "/api/inputs", kTok, nullptr, "", 0, 200},
        Refusal{"PageWithTokenInQuery", "GET", "/?token={token}", nullptr, nullptr, "", 0, 200},
        Refusal{"PageWithoutToken", "GET", "/", nullptr, nullptr, "", 0, 403},
        Refusal{"NoToken", "GET", "/api/inputs", nullptr, nullptr, "", 0, 403},
        Refusal{"WrongToken", "GET", "/api/inputs", "0123456789abcdef0123456789abcdef", nullptr, "", 0, 403},
        Refusal{"TokenWithoutItsLastDigit", "GET", "/api/inputs", "{cut}", nullptr, "", 0, 403},
        Refusal{"TokenWithADigitMore", "GET", "/api/inputs", "{token}0", nullptr, "", 0, 403},
        Refusal{"TokenWithAnotherFirstDigit", "GET", "/api/inputs", "{flip}", nullptr, "", 0, 403},
        Refusal{"TokenInQuery", "GET", "/api/inputs?token={token}", nullptr, nullptr, "", 0, 200},
        Refusal{"WrongTokenInQuery", "GET", "/api/inputs?token={cut}", nullptr, nullptr, "", 0, 403},
        Refusal{"HostOfAnotherSite", "GET", "/api/inputs", kTok, "evil.example:{port}", "", 0, 403},
        Refusal{"HostWithAnotherPort", "GET", "/api/inputs", kTok, "127.0.0.1:1", "", 0, 403},
        Refusal{"HostWithoutPort", "GET", "/api/inputs", kTok, "localhost", "", 0, 403},
        Refusal{"HostWithADigitMore", "GET", "/api/inputs", kTok, "localhost:{port}0", "", 0, 403},
        Refusal{"HostLoopbackAddress", "GET", "/api/inputs", kTok, "127.0.0.1:{port}", "", 0, 200},
        Refusal{"HostLocalhost", "GET", "/api/inputs", kTok, "localhost:{port}", "", 0, 200},
        Refusal{"HostIpv6Loopback", "GET", "/api/inputs", kTok, "[::1]:{port}", "", 0, 200},
        Refusal{"BodyOf1MB", "POST", "/api/check", kTok, nullptr, kNoChanges, kMB, 200},
        Refusal{"BodyOver1MB", "POST", "/api/check", kTok, nullptr, kNoChanges, kMB + 1, 413},
        Refusal{"RunByGet", "GET", "/api/run", kTok, nullptr, "", 0, 405},
        Refusal{"InputsByPost", "POST", "/api/inputs", kTok, nullptr, "{}", 0, 405},
        Refusal{"DownloadByPost", "POST", "/api/download?run=1&what=json", kTok, nullptr, "{}", 0, 405},
        Refusal{"SaveByDelete", "DELETE", "/api/save", kTok, nullptr, "", 0, 405},
        Refusal{"UnknownPath", "GET", "/api/nothing", kTok, nullptr, "", 0, 404},
        Refusal{"DownloadOfAnUnknownRun", "GET", "/api/download?run=99999&what=json", kTok, nullptr, "", 0, 404},
        Refusal{"MalformedJson", "POST", "/api/check", kTok, nullptr, R"({"changes": )", 0, 400},
        Refusal{"BodyNotAnObject", "POST", "/api/run", kTok, nullptr, R"([{"changes": {}}])", 0, 400},
        Refusal{"ChangesAsAnArray", "POST", "/api/check", kTok, nullptr, R"({"changes": ["mwE[1]", "72"]})", 0, 400},
        Refusal{"ChangeOfABoolean", "POST", "/api/check", kTok, nullptr, R"({"changes": {"mwE[1]": true}})", 0, 400},
        Refusal{"SdAsAnArray", "POST", "/api/run", kTok, nullptr, R"({"changes": {}, "sd": [0.25]})", 0, 400},
        Refusal{"SdOfTrait36", "POST", "/api/run", kTok, nullptr, R"({"sd": {"35": 1, "36": 1}})", 0, 400},
        Refusal{"NegativeSd", "POST", "/api/run", kTok, nullptr, R"({"sd": {"8": -0.5}})", 0, 400},
        Refusal{"SdOfZero", "POST", "/api/run", kTok, nullptr, R"({"sd": {"8": 0, "1": 0.25}})", 0, 200},
        Refusal{"SdNotANumber", "POST", "/api/run", kTok, nullptr, R"({"sd": {"8": "x"}})", 0, 400},
        Refusal{"SweepOfOneValue", "POST", "/api/sweep", kTok, nullptr,
                R"({"sweep": {"name": "prmilkb", "from": "1", "to": "2", "steps": 1}})", 0, 400},
        Refusal{"SweepOf51Values", "POST", "/api/sweep", kTok, nullptr,
                R"({"sweep": {"name": "prmilkb", "from": "1", "to": "2", "steps": 51}})", 0, 400}),
    [](const testing::TestParamInfo<Refusal>& i) { return std::string(i.param.name); });

// ---------------------------------------------------------------------------
// A changed value: the check and the run refuse it with the message the
// command line prints for the same change, or the check passes where the
// command line runs.

struct Change {
    const char* name;
    const char* change;
    json value;
    bool named;  // the answer names the change (where the server can tell: the contract's cases)
};

class ChangeChecked : public WithServers<testing::TestWithParam<Change>> {};

TEST_P(ChangeChecked, AsTheCommandLineDoes) {
    const Change& c = GetParam();
    const json changes = {{c.change, c.value}};
    const CliRun cli = runCli("dairy", changes);
    const std::string expected = cliMessage(cli.r);
    ASSERT_TRUE(cli.r.status == 0 || !expected.empty()) << cli.r.err;
    for (const char* path : {"/api/check", "/api/run"}) {
        SCOPED_TRACE(path);
        const json a = post(shared("dairy"), path, {{"changes", changes}});
        EXPECT_EQ(a.value("ok", json()), cli.r.status == 0) << a;
        if (cli.r.status == 0) {  // the warnings of standard error
            std::string warnings = cli.r.err;
            while (!warnings.empty() && warnings.back() == '\n') warnings.pop_back();
            EXPECT_EQ(a.value("warnings", json()), warnings);
            continue;
        }
        EXPECT_EQ(a.value("message", ""), expected);
        if (c.named) {
            EXPECT_EQ(a.value("name", json()), c.change) << a;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Server, ChangeChecked,
                         testing::Values(Change{"GoodValue", "mwE[1]", "72", false},
                                         Change{"ValueThatWarns", "prmilkb", "2e9", false},
                                         Change{"OutOfRange", "mwE[1]", "4e9", true},
                                         Change{"OutOfRangeAsANumber", "mwE[1]", 4e9, true},
                                         Change{"FractionAboveOne", "conrateE[1]", "1.5", true},
                                         Change{"UnknownName", "conrateX[1]", "3", true},
                                         Change{"NotANumber", "mwE[1]", "abc", true},
                                         Change{"FractionForAWholeNumber", "LL", "8.5", false},
                                         Change{"ElementNotRead", "conrateE[8]", "0.5", false},
                                         Change{"ComputedQuantity", "Tprof", "1", false}),
                         [](const testing::TestParamInfo<Change>& i) { return std::string(i.param.name); });

// ---------------------------------------------------------------------------
// A run: its result, chart and downloads are what the command line gives
// for the same changes.

struct SameRun {
    const char* name;
    const char* example;
    json changes;
    bool sd;  // with the standard deviations that /api/inputs gives from SD.TXT
};

class RunLikeCommandLine : public WithServers<testing::TestWithParam<SameRun>> {};

TEST_P(RunLikeCommandLine, GivesWhatTheCommandLineGives) {
    const SameRun& c = GetParam();
    const Server& s = shared(c.example);
    const CliRun cli = runCli(c.example, c.changes, c.sd);
    ASSERT_EQ(cli.r.status, 0) << cli.r.err;
    json body = {{"changes", c.changes}};
    if (c.sd) {
        json inputs = api(s, "GET", "/api/inputs").body;
        ASSERT_EQ(inputs.value("sdFile", json()), "SD.TXT");
        body["sd"] = inputs.value("sd", json());
        ASSERT_FALSE(body["sd"].empty());
    }
    json a = post(s, "/api/run", body);
    ASSERT_EQ(a.value("ok", false), true) << a;
    EXPECT_EQ(a["result"], cli.doc);
    EXPECT_EQ(a["chart"], c.sd ? json(cli.chart) : json());
    // The results file is the command line's byte for byte: it names
    // neither its own file nor the time the run took.
    const std::string run = std::to_string(a.value("run", -1));
    const std::array<std::array<std::string, 3>, 3> downloads = {{{"results", cli.results, "text/plain"},
                                                                  {"csv", cli.csv, "text/csv"},
                                                                  {"json", a["result"].dump(), "application/json"}}};
    for (const auto& [what, expected, type] : downloads) {
        const std::string url = a["downloads"].value(what, "");
        EXPECT_EQ(url, "/api/download?run=" + run + "&what=" + what);
        const Reply r = api(s, "GET", url);
        ASSERT_EQ(r.status, 200) << url << describe(r);
        EXPECT_TRUE(what == "json" ? r.body == a["result"] : r.text == expected) << url;
        EXPECT_EQ(r.type.rfind(type, 0), 0u) << r.type;
        ASSERT_EQ(r.headers.count("Content-Disposition"), 1u);
        EXPECT_EQ(r.headers.find("Content-Disposition")->second.rfind("attachment; filename=\"", 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Server, RunLikeCommandLine,
    testing::Values(SameRun{"DairyPlain", "dairy", json::object(), false},
                    SameRun{"DairyPriceAndWeight", "dairy", {{"prmilkb", "0.9"}, {"mwE[1]", "72"}}, false},
                    SameRun{"DairyRateAsANumberWithSd", "dairy", {{"conrateE[2]", 0.85}}, true},
                    SameRun{"MeatWeightAndDiscountRate", "meat", {{"mwE[1]", "85"}, {"u", "0.03"}}, false},
                    SameRun{"MeatFeedPrice", "meat", {{"prfE[1][1]", "0.1"}}, false}),
    [](const testing::TestParamInfo<SameRun>& i) { return std::string(i.param.name); });

// A sweep gives the rows of the command line's sweep with the same changes:
// value, status, message, profit and every weight (CSV column
// w8_pure_mature_weight is weight "8-1"; cross 2, combined 0).
TEST_F(ServerSuite, SweepGivesTheRowsOfTheCommandLine) {
    TempDir dir;
    testutil::copyExample("meat", dir);
    const auto cli = testutil::runKarvel1(dir, "", "--sweep 'conrateE[1]=0.9:1.1:2' --set 'mwE[1]=85' --csv s.csv");
    ASSERT_EQ(cli.status, 1) << cli.err;  // 1.1 stops the run
    const std::string text = dir.read("s.csv");
    const auto table = testutil::parseCsv(text.substr(text.find('\n') + 1));  // after the line of --set
    json a = post(shared("meat"), "/api/sweep",
                  {{"changes", {{"mwE[1]", "85"}}},
                   {"sweep", {{"name", "conrateE[1]"}, {"from", "0.9"}, {"to", 1.1}, {"steps", 2}}}});
    ASSERT_EQ(a.value("ok", false), true) << a;
    ASSERT_EQ(a["rows"].size() + 1, table.size()) << a;
    // The table writes numbers with 8 digits (or as single precision); the
    // page has them in full.
    const auto same = [](const json& full, const std::string& cell) {
        if (full.is_null() || cell == "NA") return full.is_null() && cell == "NA";
        return std::fabs(full.get<double>() - std::stod(cell)) <= 1e-7 * std::fabs(full.get<double>());
    };
    for (std::size_t i = 1; i < table.size(); ++i) {
        json& row = a["rows"][i - 1];
        EXPECT_EQ(json::array({row["value"], row["status"], row["message"]}),
                  json::array({table[i][0], table[i][1], table[i][2]}));
        EXPECT_TRUE(same(row["profit"], table[i][3])) << row["profit"] << " " << table[i][3];
        for (std::size_t f = 4; f < table[i].size(); ++f) {
            const std::string& head = table[0][f];
            const auto u = head.find('_'), v = head.find('_', u + 1);
            const std::string column = head.substr(u + 1, v - u - 1);
            const std::string key = head.substr(1, u - 1) + (column == "pure" ? "-1" : column == "cross" ? "-2" : "-0");
            EXPECT_TRUE(same(row["weights"].value(key, json()), table[i][f])) << head << " " << table[i][f];
        }
    }
}

// The server keeps the downloads of the last ten runs.
TEST_F(ServerSuite, DownloadsOfTheLastTenRuns) {
    const Server& s = shared("dairy");
    std::set<int> runs;
    for (int i = 0; i < 11; ++i) runs.insert(post(s, "/api/run", {{"changes", json::object()}}).value("run", -1));
    ASSERT_EQ(runs.size(), 11u);
    const Reply old = api(s, "GET", "/api/download?run=" + std::to_string(*runs.begin()) + "&what=csv");
    EXPECT_EQ(old.status, 404);
    expectError(old);
    const std::string kept = "/api/download?run=" + std::to_string(*++runs.begin());
    EXPECT_EQ(api(s, "GET", kept + "&what=csv").status, 200);
    for (const std::string& bad : {kept + "&what=pdf", kept + "x&what=csv", kept}) {
        const Reply r = api(s, "GET", bad);
        EXPECT_TRUE(r.status >= 400 && r.status < 500) << bad << ": " << describe(r);
        expectError(r);
    }
}

// ---------------------------------------------------------------------------
// Concurrent clients get what the same runs give one by one.

TEST_F(ServerSuite, ConcurrentClientsGetTheResultsOfSingleRuns) {
    const Server& s = shared("dairy");
    const json sets[] = {json::object(), {{"prmilkb", "0.9"}}, {{"mwE[1]", "72"}, {"conrateE[1]", "0.85"}},
                         {{"prclfL[2]", 3.1}}};
    std::vector<json> single;
    for (const json& c : sets) single.push_back(post(s, "/api/run", {{"changes", c}}).value("result", json()));
    const int runs = kSanitized ? 10 : 50, clients = kSanitized ? 4 : 8;
    std::vector<Reply> replies(runs);
    std::atomic<int> next{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < clients; ++t)
        threads.emplace_back([&] {
            for (int i = next++; i < runs; i = next++)
                replies[i] = api(s, "POST", "/api/run", json{{"changes", sets[i % 4]}}.dump());
        });
    for (auto& t : threads) t.join();
    std::set<int> ids;
    for (int i = 0; i < runs; ++i) {
        ASSERT_EQ(replies[i].status, 200) << "run " << i << ": " << describe(replies[i]);
        EXPECT_EQ(replies[i].body.value("result", json()), single[i % 4]) << "run " << i;
        ids.insert(replies[i].body.value("run", -1));
    }
    EXPECT_EQ(ids.size(), std::size_t(runs));
}

// ---------------------------------------------------------------------------
// The queue of runs: beyond the cores and 16 waiting, 503; every run it
// takes is complete.  The large example has the slowest runs.

TEST_F(ServerSuite, RunsBeyondTheQueueAreRefused) {
    // Under the sanitizers a run of the large system takes seconds, and the
    // clients' waits, not the queue, decide the answers.
    if (kSanitized) GTEST_SKIP() << "the queue is tested in the plain build";
    const Server& s = shared("large");
    const json body = {{"changes", {{"mwE[1]", "66"}}}};
    const json single = post(s, "/api/run", body).value("result", json());
    ASSERT_TRUE(single.is_object());
    const int capacity = int(std::max(1u, std::thread::hardware_concurrency())) + 16;
    const int n = std::max(40, 2 * capacity + 4);
    // All requests leave at once, and the first `capacity` of them always
    // find a place.  Whether every later one comes while the queue is still
    // full (none is taken after a run ends) depends on the machine's timing:
    // a round that takes more than `capacity` is made again.
    int fewest = n;
    for (int round = 0; round < 3 && fewest > capacity; ++round) {
        std::vector<Reply> replies(n);
        std::latch start(n);
        std::vector<std::thread> threads;
        for (int i = 0; i < n; ++i)
            threads.emplace_back([&, i] {
                start.arrive_and_wait();
                replies[i] = api(s, "POST", "/api/run", body.dump());
            });
        for (auto& t : threads) t.join();
        int complete = 0;
        for (const Reply& r : replies) {
            ASSERT_TRUE(r.status == 200 || r.status == 503) << describe(r);
            if (r.status == 503) {
                expectError(r);
                EXPECT_NE(r.body.value("message", "").find("busy"), std::string::npos) << r.text;
            } else {
                ++complete;
                EXPECT_EQ(r.body.value("result", json()), single);
            }
        }
        EXPECT_GE(complete, capacity);
        fewest = std::min(fewest, complete);
    }
    EXPECT_EQ(fewest, capacity) << n << " runs at once: the queue took more than the cores and 16";
    EXPECT_EQ(post(s, "/api/run", body).value("result", json()), single);
}

// ---------------------------------------------------------------------------
// Malformed requests from a generator with a fixed seed: each gets an
// answer that refuses it, and the server goes on serving.

std::vector<std::array<std::string, 3>> malformed(int count) {  // method, path, body
    const std::array<std::string, 2> valid[] = {  // cut short
        {"/api/check", R"({"changes": {"mwE[1]": "72", "prmilkb": 0.9}})"},
        {"/api/run", R"({"changes": {"conrateE[2]": "0.85"}, "sd": {"1": 0.25, "8": 3.1}})"},
        {"/api/sweep", R"({"changes": {}, "sweep": {"name": "prmilkb", "from": "0.5", "to": "1.2", "steps": 3}})"},
        {"/api/save", R"({"changes": {"mwE[1]": "4e9"}, "versions": {"INPUTS04.TXT": "0"}})"}};
    const char* shapes[] = {  // bodies of the wrong shape, names and values no input file has
        "[]", "42", "null", R"("changes")", R"([{"changes": {}}])", R"({"changes": []})", R"({"changes": "mwE[1]=72"})",
        R"({"changes": [["mwE[1]", "72"]]})", R"({"changes": {"mwE[1]": [72]}})", R"({"changes": {"mwE[1]": {}}})",
        R"({"changes": {"mwE[1]": null}})", R"({"changes": {"mwE[1]": false}})", R"({"changes": {"mwE[1]": "1e400"}})",
        R"({"changes": {"mwE[1]": 1e308}})", R"({"changes": {"mwE[1]": "-1e308"}})", R"({"changes": {"mwE[1]": ""}})",
        R"({"changes": {"mwE[1]": "nan"}})", R"({"changes": {"mwE[1]": "inf"}})", R"({"changes": {"": "1"}})",
        R"({"changes": {"99999999999999999999999": "1"}})", R"({"changes": {"1e308": "1"}})",
        R"({"changes": {"mwE[99999999999999999999]": "70"}})", R"({"changes": {"mwE[0]": "70"}})",
        R"({"changes": {"mwE[-1]": "70"}})", R"({"changes": {" mwE[1]": "70"}})",
        R"({"changes": {"mwE[1][1][1]": "70"}})", R"({"changes": {}, "sd": [[1, 0.25]]})",
        R"({"changes": {}, "sd": {"1": "x"}})", R"({"changes": {}, "sd": {"36": 1}})"};
    const char* paths[] = {"/api/check", "/api/run", "/api/sweep", "/api/save"};
    const char* methods[] = {"GET", "PUT", "DELETE", "PATCH"};
    const char* wrong[] = {"/api/download?run=abc&what=csv", "/api/download?run=-1&what=json", "/api/download?what=csv",
                           "/api/download?run=99999999999999999999&what=csv", "/api/download?run=1&what=exe",
                           "/api/inputs/x", "/api/", "/api/runs"};
    std::mt19937 gen(20240611);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(gen); };
    std::vector<std::array<std::string, 3>> out;
    for (int i = 0; i < count; ++i) {
        std::string path = paths[pick(4)], body;
        if (i % 6 == 0) {
            const auto& [p, b] = valid[pick(4)];
            path = p;
            body = b.substr(0, 1 + pick(b.size() - 1));
        } else if (i % 6 == 1) {  // random bytes
            for (std::size_t n = 1 + pick(200); n > 0; --n) body += char(pick(256));
        } else if (i % 6 <= 3) {
            body = shapes[pick(std::size(shapes))];
            if (body.find("\"sd\"") != std::string::npos) path = "/api/run";  // only runs read sd
        } else if (i % 6 == 4) {  // a name no file has
            std::string name = "zz";
            for (std::size_t n = 1 + pick(12); n > 0; --n) name += "abcxyzQ[]0123456789*"[pick(20)];
            body = json{{"changes", {{name, std::to_string(pick(1000))}}}}.dump();
        } else {  // a wrong method, or a path or query that is not there
            out.push_back(pick(2) ? std::array<std::string, 3>{methods[pick(4)], path, ""}
                                  : std::array<std::string, 3>{"GET", wrong[pick(std::size(wrong))], ""});
            continue;
        }
        out.push_back({"POST", path, body});
    }
    return out;
}

TEST_F(ServerSuite, MalformedRequestsLeaveItServing) {
    const Server& s = shared("dairy");
    for (const auto& [method, path, body] : malformed(kSanitized ? 40 : 200)) {
        const Reply r = api(s, method, path, body);
        SCOPED_TRACE(method + " " + path + " " + json(body).dump(-1, ' ', false, json::error_handler_t::replace));
        ASSERT_NE(r.status, 0) << describe(r);
        EXPECT_TRUE((r.status >= 400 && r.status < 500) || r.status == 503 || r.status == 200) << r.status;
        expectError(r);
    }
    const json a = post(s, "/api/run", {{"changes", json::object()}});
    ASSERT_EQ(a.value("ok", false), true) << a;
    EXPECT_EQ(a.value("result", json())["totals"]["Tprof"], runCli("dairy", json::object()).doc["totals"]["Tprof"]);
}

// ---------------------------------------------------------------------------
// A long session does not make the server grow.

long residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

TEST_F(ServerSuite, MemoryStaysFlatOver500Requests) {
    if (kSanitized) GTEST_SKIP() << "the sanitizers hold freed memory in their quarantine";
    const Server& s = shared("dairy");
    int lastRun = 0;
    long after20 = 0;
    for (int i = 0; i < 500; ++i) {
        // Half of the first 20 are runs and fill the store of the last ten.
        const int kind = i < 20 ? (i % 2 == 0 ? 0 : 1 + i / 2 % 4) : i % 5;
        const json changes = {{"mwE[1]", std::to_string(60 + i % 20)}};
        if (kind == 0) {
            const json a = post(s, "/api/run", {{"changes", changes}});
            ASSERT_EQ(a.value("ok", false), true) << a;
            lastRun = a.value("run", 0);
        } else if (kind == 1) {
            ASSERT_EQ(api(s, "GET", "/api/inputs").status, 200);
        } else if (kind == 2) {
            EXPECT_EQ(post(s, "/api/check", {{"changes", changes}}).value("ok", false), true);
        } else if (kind == 3) {
            const char* what[] = {"results", "csv", "json"};
            const Reply r = api(s, "GET", "/api/download?run=" + std::to_string(lastRun) + "&what=" + what[i % 3]);
            ASSERT_EQ(r.status, 200) << describe(r);
        } else {
            EXPECT_EQ(post(s, "/api/check", {{"changes", {{"mwE[1]", "4e9"}}}}).value("ok", true), false);
        }
        if (i == 19) after20 = residentKb(s.pid());
    }
    const long after500 = residentKb(s.pid());
    ASSERT_GT(after20, 0);
    EXPECT_LE(after500 - after20, 5 * 1024) << "VmRSS: " << after20 << " kB after 20 requests, " << after500
                                            << " kB after 500";
}

// A second server cannot take the port of a running one (the time limit
// only ends a server that wrongly serves).
TEST_F(ServerSuite, PortOfARunningServerIsRefused) {
    TempDir dir;
    const std::string cmd = std::string("timeout 300 '") + KARVEL1_EXE + "' serve '" + dir.path().string() +
                            "' --port " + std::to_string(shared("dairy").port()) + " > /dev/null 2> '" +
                            (dir / "err").string() + "'";
    const int raw = std::system(cmd.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
    EXPECT_NE(dir.read("err").find("cannot be used"), std::string::npos) << dir.read("err");
}

// ---------------------------------------------------------------------------
// Save writes the changed numbers into their files and nothing else, or
// nothing at all.

struct SaveCase {
    const char* name;
    json changes;
    std::vector<std::array<const char*, 3>> edits;  // file, text, its new text: what the files become
    const char* stale;                              // a file changed on disk after the page read it
    const char* message;                            // a part of the refusal's message
};

class SaveIntoFiles : public testing::TestWithParam<SaveCase> {};

std::map<std::string, std::string> filesOf(const TempDir& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir.path())) files[e.path().filename()] = testutil::readFile(e);
    return files;
}

TEST_P(SaveIntoFiles, WritesExactlyTheChangedNumbers) {
    const SaveCase& c = GetParam();
    Server s("dairy", {"--port=0"});  // the option's other form
    json inputs = api(s, "GET", "/api/inputs").body, versions = json::object();
    for (json& f : inputs["files"]) versions[f["file"].get<std::string>()] = f["version"];
    ASSERT_GT(versions.size(), 10u) << inputs;
    std::map<std::string, std::string> expected = filesOf(s.dir());
    for (const auto& f : expected) fs::permissions(s.dir() / f.first, fs::perms(0640));
    if (c.stale) s.dir().write(c.stale, expected[c.stale] += "\n");
    std::set<std::string> written;
    for (const auto& [file, from, to] : c.edits) {
        const auto at = expected[file].find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected[file].replace(at, std::string(from).size(), to);
        written.insert(file);
    }
    json a = post(s, "/api/save", {{"changes", c.changes}, {"versions", versions}});
    EXPECT_EQ(a.value("ok", json()), !written.empty()) << a;
    EXPECT_NE(a.value("message", "").find(c.message ? c.message : ""), std::string::npos) << a;
    EXPECT_EQ(filesOf(s.dir()), expected);
    for (const auto& f : expected) EXPECT_EQ(fs::status(s.dir() / f.first).permissions(), fs::perms(0640)) << f.first;
    // The saved values are the new base: the inputs show them, with the new
    // versions of the files written and the old ones of the others.
    json after = api(s, "GET", "/api/inputs").body;
    for (json& f : after["files"]) {
        const std::string file = f["file"];
        EXPECT_EQ(f["version"] == versions[file], !written.count(file) && file != (c.stale ? c.stale : "")) << file;
        EXPECT_EQ(f["version"], written.count(file) ? a["versions"][file] : f["version"]) << file;
        for (json& section : f["sections"])
            for (json& number : section["numbers"]) {
                const std::string name = number["name"];
                if (!written.empty() && c.changes.contains(name)) {
                    EXPECT_EQ(std::stod(number["value"].get<std::string>()), std::stod(valueText(c.changes[name])));
                }
            }
    }
    EXPECT_EQ(a.value("written", json::array()).get<std::set<std::string>>(), written) << a;
    EXPECT_EQ(s.stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Server, SaveIntoFiles,
    testing::Values(
        SaveCase{"OneNumber", {{"mwE[1]", "72"}}, {{"INPUTS04.TXT", "70.0\n\"Mature weight", "72\n\"Mature weight"}},
                 nullptr, nullptr},
        SaveCase{"ThreeNumbersOfTwoFiles", {{"conrateE[2]", "0.85"}, {"conrateE[3]", "0.9"}, {"prclfL[2]", 3.1}},
                 {{"INPUTS01.TXT", "0.880 0.920 0.930", "0.880 0.85 0.9"},
                  {"INPUTS14.TXT", "2.80 3.05 3.30", "2.80 3.1 3.30"}},
                 nullptr, nullptr},
        SaveCase{"FileChangedOnDisk", {{"mwE[1]", "72"}}, {}, "INPUTS04.TXT", "INPUTS04.TXT has changed"},
        SaveCase{"ValueTheChecksRefuse", {{"mwE[1]", "4e9"}}, {}, nullptr, "but it must be from 10 to 300"},
        SaveCase{"UnknownName", {{"conrateX[1]", "3"}}, {}, nullptr, "no quantity conrateX"}),
    [](const testing::TestParamInfo<SaveCase>& i) { return std::string(i.param.name); });

}  // namespace
