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
#include <spawn.h>
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

extern char** environ;

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
// and token of the line it prints.
class Server {
public:
    explicit Server(const std::string& example) {
        testutil::copyExample(example, dir_);
        start();
    }
    ~Server() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Stops the server as Ctrl-C does; its exit status (128 + signal when a
    // signal ended it).
    int stop() {
        if (pid_ <= 0) return -1;
        kill(pid_, SIGINT);
        int st = 0;
        waitpid(pid_, &st, 0);
        pid_ = -1;
        return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    }

    int port() const { return port_; }
    const std::string& token() const { return token_; }
    const TempDir& dir() const { return dir_; }

    // The process that serves: the started one, or its child when the
    // command starts the server program and waits for it.
    pid_t servingPid() const {
        for (const auto& e : fs::directory_iterator("/proc")) {
            std::ifstream stat(e.path() / "stat");
            std::string pid, name, state;
            long ppid = 0;
            if (stat >> pid >> name >> state >> ppid && ppid == pid_) return std::stoi(pid);
        }
        return pid_;
    }

private:
    void start() {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
        posix_spawn_file_actions_addclose(&fa, fds[0]);
        posix_spawn_file_actions_addclose(&fa, fds[1]);
        std::string exe = KARVEL1_EXE, serve = "serve", dir = dir_.path().string(), opt = "--port", zero = "0";
        char* argv[] = {exe.data(), serve.data(), dir.data(), opt.data(), zero.data(), nullptr};
        const int spawned = posix_spawn(&pid_, exe.c_str(), &fa, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&fa);
        close(fds[1]);
        out_ = fds[0];
        ASSERT_EQ(spawned, 0);
        // The one line; the pipe stays open so that the server never writes
        // into a closed one.
        std::string line;
        for (char c = 0; c != '\n';) {
            pollfd p{out_, POLLIN, 0};
            ASSERT_EQ(poll(&p, 1, 300000), 1) << "no line from the server: " << line;
            ASSERT_EQ(read(out_, &c, 1), 1) << "the server ended before its line: " << line;
            if (c != '\n') line += c;
        }
        const std::string head = "Serving " + dir + " at http://127.0.0.1:";
        ASSERT_EQ(line.rfind(head, 0), 0u) << line;
        const auto q = line.find("/?token=", head.size());
        ASSERT_NE(q, std::string::npos) << line;
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
std::map<std::string, std::unique_ptr<Server>>& servers() {
    static std::map<std::string, std::unique_ptr<Server>> all;
    return all;
}
Server& shared(const std::string& example) {
    auto& s = servers()[example];
    if (!s) s = std::make_unique<Server>(example);
    return *s;
}
void stopShared() {
    for (auto& [example, s] : servers()) EXPECT_EQ(s->stop(), 0) << "exit status of the server of " << example;
    servers().clear();
}

// One answer of the server.
struct Reply {
    int status = 0;     // 0: no answer at all (the connection dropped)
    std::string error;  // why there was none
    std::string type, text;
    httplib::Headers headers;
    json body;  // the text read as JSON (discarded when it is not JSON)
};

Reply call(const Server& s, const std::string& method, const std::string& path, const std::string& body = "",
           httplib::Headers headers = {}) {
    httplib::Client client("127.0.0.1", s.port());
    client.set_read_timeout(900);
    client.set_write_timeout(900);
    httplib::Request req;
    req.method = method;
    req.path = path;
    req.headers = std::move(headers);
    if (method == "POST" || !body.empty()) {
        req.body = body;
        req.headers.emplace("Content-Type", "application/json");
    }
    Reply r;
    const auto res = client.send(req);
    if (!res) {
        r.error = httplib::to_string(res.error());
        return r;
    }
    r.status = res->status;
    r.type = res->get_header_value("Content-Type");
    r.text = res->body;
    r.headers = res->headers;
    r.body = json::parse(r.text, nullptr, false);
    return r;
}

std::string describe(const Reply& r) {
    if (r.status == 0) return "no answer, the connection failed (" + r.error + ")";
    return "HTTP " + std::to_string(r.status) + ": " + r.text.substr(0, 500);
}

// A request with the token.
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

// The command line's run of an example with the changes as --set options
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
    CliRun c;
    c.r = testutil::runKarvel1(dir, "", args);
    c.results = dir.read("R.TXT");
    c.csv = dir.read("r.csv");
    c.chart = sd ? dir.read("c.svg") : "";
    c.doc = json::parse(dir.read("r.json"), nullptr, false);
    return c;
}

class ServerSuite : public testing::Test {
protected:
    static void TearDownTestSuite() { stopShared(); }
};

// ---------------------------------------------------------------------------
// Refusals: what every request must carry, and the answer when it does not.

struct Refusal {
    const char* name;
    const char* method;
    const char* path;    // {token} stands for the server's token
    const char* token;   // the X-Token header ({token}, {cut}: all but its last digit), nullptr: none
    const char* host;    // the Host header ({port}), nullptr: the client's own
    const char* body;    // padded with spaces to pad bytes when pad > 0
    std::size_t pad;
    int status;
};

std::string fill(std::string s, const Server& srv) {
    const std::pair<std::string, std::string> keys[] = {{"{token}", srv.token()},
                                                        {"{cut}", srv.token().substr(0, 31)},
                                                        {"{port}", std::to_string(srv.port())}};
    for (const auto& [key, value] : keys)
        for (auto at = s.find(key); at != std::string::npos; at = s.find(key)) s.replace(at, key.size(), value);
    return s;
}

class RefusedRequest : public testing::TestWithParam<Refusal> {
protected:
    static void TearDownTestSuite() { stopShared(); }
};

TEST_P(RefusedRequest, AnswerAndStatus) {
    const Refusal& c = GetParam();
    const Server& s = shared("dairy");
    httplib::Headers headers;
    if (c.token) headers.emplace("X-Token", fill(c.token, s));
    if (c.host) headers.emplace("Host", fill(c.host, s));
    std::string body = c.body;
    if (c.pad > 0) body.resize(c.pad, ' ');
    const Reply r = call(s, c.method, fill(c.path, s), body, headers);
    ASSERT_EQ(r.status, c.status) << describe(r);
    if (c.status != 200) expectError(r);
    else if (std::string(c.path).rfind("/api/", 0) == 0) EXPECT_EQ(r.body.value("ok", false), true) << r.text;
    else EXPECT_NE(r.text.find("<html"), std::string::npos);
}

constexpr const char* kToken = "{token}";
constexpr const char* kNoChanges = R"({"changes": {}})";
constexpr std::size_t kMB = 1048576;

INSTANTIATE_TEST_SUITE_P(
    Server, RefusedRequest,
    testing::Values(
        Refusal{"Inputs", "GET", "/api/inputs", kToken, nullptr, "", 0, 200},
        Refusal{"PageWithTokenInQuery", "GET", "/?token={token}", nullptr, nullptr, "", 0, 200},
        Refusal{"PageWithoutToken", "GET", "/", nullptr, nullptr, "", 0, 403},
        Refusal{"NoToken", "GET", "/api/inputs", nullptr, nullptr, "", 0, 403},
        Refusal{"WrongToken", "GET", "/api/inputs", "0123456789abcdef0123456789abcdef", nullptr, "", 0, 403},
        Refusal{"TokenWithoutItsLastDigit", "GET", "/api/inputs", "{cut}", nullptr, "", 0, 403},
        Refusal{"TokenWithADigitMore", "GET", "/api/inputs", "{token}0", nullptr, "", 0, 403},
        Refusal{"TokenInQuery", "GET", "/api/inputs?token={token}", nullptr, nullptr, "", 0, 200},
        Refusal{"WrongTokenInQuery", "GET", "/api/inputs?token={cut}", nullptr, nullptr, "", 0, 403},
        Refusal{"HostOfAnotherSite", "GET", "/api/inputs", kToken, "evil.example:{port}", "", 0, 403},
        Refusal{"HostWithAnotherPort", "GET", "/api/inputs", kToken, "127.0.0.1:1", "", 0, 403},
        Refusal{"HostWithoutPort", "GET", "/api/inputs", kToken, "localhost", "", 0, 403},
        Refusal{"HostWithADigitMore", "GET", "/api/inputs", kToken, "localhost:{port}0", "", 0, 403},
        Refusal{"HostLoopbackAddress", "GET", "/api/inputs", kToken, "127.0.0.1:{port}", "", 0, 200},
        Refusal{"HostLocalhost", "GET", "/api/inputs", kToken, "localhost:{port}", "", 0, 200},
        Refusal{"HostIpv6Loopback", "GET", "/api/inputs", kToken, "[::1]:{port}", "", 0, 200},
        Refusal{"BodyOf1MB", "POST", "/api/check", kToken, nullptr, kNoChanges, kMB, 200},
        Refusal{"BodyOver1MB", "POST", "/api/check", kToken, nullptr, kNoChanges, kMB + 1, 413},
        Refusal{"RunByGet", "GET", "/api/run", kToken, nullptr, "", 0, 405},
        Refusal{"InputsByPost", "POST", "/api/inputs", kToken, nullptr, "{}", 0, 405},
        Refusal{"DownloadByPost", "POST", "/api/download?run=1&what=json", kToken, nullptr, "{}", 0, 405},
        Refusal{"SaveByDelete", "DELETE", "/api/save", kToken, nullptr, "", 0, 405},
        Refusal{"UnknownPath", "GET", "/api/nothing", kToken, nullptr, "", 0, 404},
        Refusal{"UnknownPathByPost", "POST", "/api/nothing", kToken, nullptr, kNoChanges, 0, 404},
        Refusal{"DownloadOfAnUnknownRun", "GET", "/api/download?run=99999&what=json", kToken, nullptr, "", 0, 404},
        Refusal{"MalformedJson", "POST", "/api/check", kToken, nullptr, R"({"changes": )", 0, 400},
        Refusal{"BodyNotAnObject", "POST", "/api/run", kToken, nullptr, R"([{"changes": {}}])", 0, 400},
        Refusal{"ChangesAsAnArray", "POST", "/api/check", kToken, nullptr, R"({"changes": ["mwE[1]", "72"]})", 0,
                400},
        Refusal{"ChangeOfABoolean", "POST", "/api/check", kToken, nullptr, R"({"changes": {"mwE[1]": true}})", 0,
                400},
        Refusal{"SdAsAnArray", "POST", "/api/run", kToken, nullptr, R"({"changes": {}, "sd": [0.25]})", 0, 400}),
    [](const testing::TestParamInfo<Refusal>& i) { return std::string(i.param.name); });

// ---------------------------------------------------------------------------
// A value the input checks refuse: the check and the run give the message
// the command line prints for the same change.

struct BadValue {
    const char* name;
    const char* change;
    json value;
    bool named;  // the answer names the change (the contract says so for this kind)
};

class BadValueMessage : public testing::TestWithParam<BadValue> {
protected:
    static void TearDownTestSuite() { stopShared(); }
};

// The message of the command line: after "Error message:" for a run that
// stops (without the line naming the files it kept); for a change it
// refuses, the text after the program's name without the pointer to --help.
std::string cliMessage(const testutil::ProgramResult& r) {
    std::string e = r.err;
    if (r.status == 1) {
        const auto at = e.find("Error message:\n");
        if (at == std::string::npos) return "";
        e = e.substr(at + 15);
        e = e.substr(0, e.find("\nThe results written up to the error"));
    } else {
        if (e.rfind("karvel1: ", 0) != 0) return "";
        e = e.substr(9, e.find("\nRun 'karvel1 --help'") - 9);
    }
    while (!e.empty() && e.back() == '\n') e.pop_back();
    return e;
}

TEST_P(BadValueMessage, GetsTheMessageOfTheCommandLine) {
    const BadValue& c = GetParam();
    const json changes = {{c.change, c.value}};
    const CliRun cli = runCli("dairy", changes);
    ASSERT_NE(cli.r.status, 0);
    const std::string expected = cliMessage(cli.r);
    ASSERT_FALSE(expected.empty()) << cli.r.err;
    for (const char* path : {"/api/check", "/api/run"}) {
        SCOPED_TRACE(path);
        json a = post(shared("dairy"), path, {{"changes", changes}});
        EXPECT_EQ(a.value("ok", true), false) << a;
        EXPECT_EQ(a.value("message", ""), expected);
        if (c.named) {
            EXPECT_EQ(a.value("name", json()), c.change) << a;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Server, BadValueMessage,
    testing::Values(BadValue{"OutOfRange", "mwE[1]", "4e9", true},
                    BadValue{"OutOfRangeAsANumber", "mwE[1]", 4e9, true},
                    BadValue{"FractionAboveOne", "conrateE[1]", "1.5", true},
                    BadValue{"UnknownName", "conrateX[1]", "3", true},
                    BadValue{"NotANumber", "mwE[1]", "abc", true},
                    BadValue{"FractionForAWholeNumber", "LL", "8.5", false},
                    BadValue{"ElementNotRead", "conrateE[8]", "0.5", false},
                    BadValue{"ComputedQuantity", "Tprof", "1", false}),
    [](const testing::TestParamInfo<BadValue>& i) { return std::string(i.param.name); });

TEST_F(ServerSuite, CheckOfGoodValuesPasses) {
    const json a = post(shared("dairy"), "/api/check", {{"changes", {{"mwE[1]", "72"}, {"prmilkb", 0.9}}}});
    EXPECT_EQ(a.value("ok", false), true) << a;
    EXPECT_TRUE(a.value("warnings", json()).is_string()) << a;
}

// ---------------------------------------------------------------------------
// Runs: the result, the chart and the downloads are those of the command
// line with the same changes.

struct SameRun {
    const char* name;
    const char* example;
    json changes;
    bool sd;  // with the standard deviations that /api/inputs gives from SD.TXT
};

class RunLikeCommandLine : public testing::TestWithParam<SameRun> {
protected:
    static void TearDownTestSuite() { stopShared(); }
};

TEST_P(RunLikeCommandLine, GivesWhatTheCommandLineGives) {
    const SameRun& c = GetParam();
    const Server& s = shared(c.example);
    CliRun cli = runCli(c.example, c.changes, c.sd);
    ASSERT_EQ(cli.r.status, 0) << cli.r.err;
    json body = {{"changes", c.changes}};
    if (c.sd) {
        json inputs = api(s, "GET", "/api/inputs").body;
        ASSERT_EQ(inputs.value("sdFile", json()), "SD.TXT");
        ASSERT_FALSE(inputs["sd"].empty());
        body["sd"] = inputs["sd"];
    }
    json a = post(s, "/api/run", body);
    ASSERT_EQ(a.value("ok", false), true) << a;
    EXPECT_EQ(a["result"], cli.doc);
    EXPECT_EQ(a["result"]["totals"]["Tprof"], cli.doc["totals"]["Tprof"]);
    if (c.sd) EXPECT_EQ(a["chart"], cli.chart);
    else EXPECT_TRUE(a["chart"].is_null());
    // The downloads of the run.  The results file is the command line's
    // byte for byte: it names neither its own file nor the time taken.
    const struct {
        const char* what;
        const std::string& expected;
        const char* type;
    } downloads[] = {{"results", cli.results, "text/plain"}, {"csv", cli.csv, "text/csv"}};
    const std::string run = std::to_string(a.value("run", -1));
    for (const auto& d : downloads) {
        const std::string url = a["downloads"].value(d.what, "");
        EXPECT_EQ(url, "/api/download?run=" + run + "&what=" + d.what);
        const Reply r = api(s, "GET", url);
        ASSERT_EQ(r.status, 200) << url << r.text;
        EXPECT_EQ(r.text, d.expected) << url;
        EXPECT_EQ(r.type.rfind(d.type, 0), 0u) << r.type;
        const auto disposition = r.headers.find("Content-Disposition");
        ASSERT_NE(disposition, r.headers.end());
        EXPECT_EQ(disposition->second.rfind("attachment; filename=", 0), 0u) << disposition->second;
    }
    const Reply j = api(s, "GET", "/api/download?run=" + run + "&what=json");
    ASSERT_EQ(j.status, 200) << j.text;
    EXPECT_EQ(j.body, a["result"]);
}

INSTANTIATE_TEST_SUITE_P(
    Server, RunLikeCommandLine,
    testing::Values(SameRun{"DairyPlain", "dairy", json::object(), false},
                    SameRun{"DairyPriceAndWeight", "dairy", {{"prmilkb", "0.9"}, {"mwE[1]", "72"}}, false},
                    SameRun{"DairyRateAsANumberWithSd", "dairy", {{"conrateE[2]", 0.85}}, true},
                    SameRun{"MeatWeightAndDiscountRate", "meat", {{"mwE[1]", "85"}, {"u", "0.03"}}, false},
                    SameRun{"MeatFeedPrice", "meat", {{"prfE[1][1]", "0.1"}}, false}),
    [](const testing::TestParamInfo<SameRun>& i) { return std::string(i.param.name); });

// The server keeps the downloads of the last ten runs.
TEST_F(ServerSuite, DownloadsOfTheLastTenRuns) {
    const Server& s = shared("dairy");
    std::vector<int> runs;
    for (int i = 0; i < 11; ++i) runs.push_back(post(s, "/api/run", {{"changes", json::object()}}).value("run", -1));
    EXPECT_EQ(std::set<int>(runs.begin(), runs.end()).size(), runs.size());
    const Reply old = api(s, "GET", "/api/download?run=" + std::to_string(runs[0]) + "&what=csv");
    EXPECT_EQ(old.status, 404);
    expectError(old);
    EXPECT_EQ(api(s, "GET", "/api/download?run=" + std::to_string(runs[1]) + "&what=csv").status, 200);
}

// ---------------------------------------------------------------------------
// Concurrent clients get what the same runs give one by one.

TEST_F(ServerSuite, ConcurrentClientsGetTheResultsOfSingleRuns) {
    const Server& s = shared("dairy");
    const json sets[] = {json::object(),
                         {{"prmilkb", "0.9"}},
                         {{"mwE[1]", "72"}, {"conrateE[1]", "0.85"}},
                         {{"prclfL[2]", 3.1}}};
    std::vector<json> single;
    for (const json& c : sets) single.push_back(post(s, "/api/run", {{"changes", c}})["result"]);
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
        EXPECT_EQ(replies[i].body["result"], single[i % 4]) << "run " << i;
        ids.insert(replies[i].body.value("run", -1));
    }
    EXPECT_EQ(ids.size(), std::size_t(runs));
}

// ---------------------------------------------------------------------------
// Malformed requests, made by a generator with a fixed seed: each is refused
// with an answer, and the server goes on serving.

std::vector<std::pair<std::string, std::string>> malformed(int count) {
    // Valid bodies to cut short, and bodies of the wrong shape or with names
    // and values no input file has.
    const std::pair<std::string, std::string> valid[] = {
        {"/api/check", R"({"changes": {"mwE[1]": "72", "prmilkb": 0.9}})"},
        {"/api/run", R"({"changes": {"conrateE[2]": "0.85"}, "sd": {"1": 0.25, "8": 3.1}})"},
        {"/api/sweep", R"({"changes": {}, "sweep": {"name": "prmilkb", "from": "0.5", "to": "1.2", "steps": 3}})"},
        {"/api/save", R"({"changes": {"mwE[1]": "4e9"}, "versions": {"INPUTS04.TXT": "0"}})"}};
    const char* shapes[] = {
        "[]", "42", "null", R"("changes")", R"([{"changes": {}}])", R"({"changes": []})",
        R"({"changes": "mwE[1]=72"})", R"({"changes": [["mwE[1]", "72"]]})", R"({"changes": {"mwE[1]": [72]}})",
        R"({"changes": {"mwE[1]": {"value": 72}}})", R"({"changes": {"mwE[1]": null}})",
        R"({"changes": {"mwE[1]": false}})", R"({"changes": {}, "sd": [[1, 0.25]]})",
        R"({"changes": {}, "sd": {"1": "x"}})", R"({"changes": {"mwE[1]": "1e400"}})",
        R"({"changes": {"mwE[1]": 1e308}})", R"({"changes": {"mwE[1]": "-1e308"}})",
        R"({"changes": {"mwE[1]": "nan"}})", R"({"changes": {"mwE[1]": "inf"}})", R"({"changes": {"mwE[1]": ""}})",
        R"({"changes": {"": "1"}})", R"({"changes": {"99999999999999999999999": "1"}})",
        R"({"changes": {"1e308": "1"}})", R"({"changes": {"mwE[99999999999999999999]": "70"}})",
        R"({"changes": {"mwE[0]": "70"}})", R"({"changes": {"mwE[-1]": "70"}})",
        R"({"changes": {" mwE[1]": "70"}})", R"({"changes": {"mwE[1][1][1]": "70"}})"};
    const char* paths[] = {"/api/check", "/api/run", "/api/sweep", "/api/save"};
    std::mt19937 gen(20240611);
    auto pick = [&](std::size_t n) { return std::size_t(std::uniform_int_distribution<std::size_t>(0, n - 1)(gen)); };
    std::vector<std::pair<std::string, std::string>> out;  // method and path, body (first line of the body: method)
    for (int i = 0; i < count; ++i) {
        std::string path = paths[pick(4)], body;
        switch (i % 6) {
            case 0: {  // a valid body cut short
                const auto& v = valid[pick(4)];
                path = v.first;
                body = v.second.substr(0, 1 + pick(v.second.size() - 1));
                break;
            }
            case 1:  // random bytes
                for (std::size_t n = 1 + pick(200); n > 0; --n) body += char(pick(256));
                break;
            case 2:
            case 3:
                body = shapes[pick(std::size(shapes))];
                // Standard deviations are read by the run only.
                if (body.find("\"sd\"") != std::string::npos) path = "/api/run";
                break;
            case 4: {  // a name no file has
                std::string name;
                for (std::size_t n = 1 + pick(12); n > 0; --n) name += "abcxyzQ[]0123456789*"[pick(20)];
                body = json{{"changes", {{"zz" + name, std::to_string(pick(1000))}}}}.dump();
                break;
            }
            default: {  // a wrong method or a path that is not there
                const char* methods[] = {"GET", "PUT", "DELETE", "PATCH"};
                const char* wrong[] = {"/api/download?run=abc&what=csv", "/api/download?run=-1&what=json",
                                       "/api/download?what=csv", "/api/download?run=99999999999999999999&what=csv",
                                       "/api/download?run=1&what=exe", "/api/inputs/x", "/api/", "/api/runs"};
                if (pick(2) == 0) out.emplace_back(std::string(methods[pick(4)]) + " " + path, "");
                else out.emplace_back(std::string("GET ") + wrong[pick(std::size(wrong))], "");
                continue;
            }
        }
        out.emplace_back("POST " + path, body);
    }
    return out;
}

TEST_F(ServerSuite, MalformedRequestsLeaveItServing) {
    const Server& s = shared("dairy");
    for (const auto& [request, body] : malformed(kSanitized ? 40 : 200)) {
        const auto space = request.find(' ');
        const Reply r = api(s, request.substr(0, space), request.substr(space + 1), body);
        SCOPED_TRACE(request + " " + json(body).dump(-1, ' ', false, json::error_handler_t::replace));
        ASSERT_NE(r.status, 0) << describe(r);
        EXPECT_TRUE((r.status >= 400 && r.status < 500) || r.status == 503 || r.status == 200) << r.status;
        expectError(r);
    }
    json a = post(s, "/api/run", {{"changes", json::object()}});
    ASSERT_EQ(a.value("ok", false), true) << a;
    EXPECT_EQ(a["result"]["totals"]["Tprof"], runCli("dairy", json::object()).doc["totals"]["Tprof"]);
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
    const pid_t pid = s.servingPid();
    int lastRun = 0;
    long after20 = 0;
    for (int i = 0; i < 500; ++i) {
        // The first 20 fill the store of the last ten runs; then a mix.
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
            ASSERT_EQ(r.status, 200) << r.text;
        } else {
            EXPECT_EQ(post(s, "/api/check", {{"changes", {{"mwE[1]", "4e9"}}}}).value("ok", true), false);
        }
        if (i == 19) after20 = residentKb(pid);
    }
    const long after500 = residentKb(pid);
    ASSERT_GT(after20, 0);
    EXPECT_LE(after500 - after20, 5 * 1024) << "VmRSS " << after20 << " kB after 20 requests, " << after500
                                            << " kB after 500";
}

// ---------------------------------------------------------------------------
// The queue of runs: beyond the cores and 16 waiting, 503; every run it
// takes is complete.  The large example has the slowest runs.

TEST_F(ServerSuite, RunsBeyondTheQueueAreRefused) {
    const Server& s = shared("large");
    const json body = {{"changes", {{"mwE[1]", "66"}}}};
    const json single = post(s, "/api/run", body)["result"];
    ASSERT_TRUE(single.is_object());
    const int capacity = int(std::max(1u, std::thread::hardware_concurrency())) + 16;
    const int n = std::max(40, 2 * capacity + 4);
    // All requests leave at once; the first `capacity` of them always find a
    // place.  Whether a later one arrives while the queue is full depends on
    // the machine's timing, so a round without a 503 is made again.
    int refused = 0;
    for (int round = 0; round < 3 && refused == 0; ++round) {
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
                ++refused;
                expectError(r);
                EXPECT_NE(r.body.value("message", "").find("busy"), std::string::npos) << r.text;
            } else {
                ++complete;
                EXPECT_EQ(r.body.value("result", json()), single);
            }
        }
        EXPECT_GE(complete, capacity);
    }
    EXPECT_GT(refused, 0) << n << " runs at once never overflowed the queue";
    EXPECT_EQ(post(s, "/api/run", body)["result"], single);
}

// ---------------------------------------------------------------------------
// Save writes the changed numbers into their files and nothing else, or
// nothing at all.

struct SaveCase {
    const char* name;
    json changes;
    std::vector<std::array<const char*, 3>> edits;  // file, text, its new text: what the files become
    const char* stale;                              // a file changed on disk after the page read it
    const char* message;                            // part of the refusal's message
};

class SaveIntoFiles : public testing::TestWithParam<SaveCase> {};

TEST_P(SaveIntoFiles, WritesExactlyTheChangedNumbers) {
    const SaveCase& c = GetParam();
    Server s("dairy");
    json inputs = api(s, "GET", "/api/inputs").body;
    ASSERT_TRUE(inputs.value("ok", false)) << inputs;
    json versions = json::object();
    for (json& f : inputs["files"]) versions[f["file"].get<std::string>()] = f["version"];
    // What every file must hold afterwards.
    std::map<std::string, std::string> expected;
    for (const auto& e : fs::directory_iterator(s.dir().path())) expected[e.path().filename()] = testutil::readFile(e);
    if (c.stale) {
        expected[c.stale] += "\n";
        s.dir().write(c.stale, expected[c.stale]);
    }
    std::set<std::string> written;
    for (const auto& [file, from, to] : c.edits) {
        std::string& text = expected[file];
        const auto at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, std::string(from).size(), to);
        written.insert(file);
    }
    json a = post(s, "/api/save", {{"changes", c.changes}, {"versions", versions}});
    EXPECT_EQ(a.value("ok", json()), !written.empty()) << a;
    if (c.message) {
        EXPECT_NE(a.value("message", "").find(c.message), std::string::npos) << a;
    }
    std::map<std::string, std::string> actual;
    for (const auto& e : fs::directory_iterator(s.dir().path())) actual[e.path().filename()] = testutil::readFile(e);
    EXPECT_EQ(actual, expected);
    if (!written.empty()) {
        EXPECT_EQ(a["written"].get<std::set<std::string>>(), written) << a;
        // The new versions are what the inputs now give, and the saved
        // values are the new base.
        json after = api(s, "GET", "/api/inputs").body;
        for (json& f : after["files"]) {
            const std::string file = f["file"];
            EXPECT_EQ(f["version"] == versions[file], written.count(file) == 0) << file;
            if (written.count(file)) {
                EXPECT_EQ(f["version"], a["versions"][file]) << file;
            }
            for (json& section : f["sections"])
                for (json& number : section["numbers"]) {
                    const std::string name = number["name"];
                    if (c.changes.contains(name)) {
                        EXPECT_EQ(std::stod(number["value"].get<std::string>()), std::stod(valueText(c.changes[name])));
                    }
                }
        }
    }
    EXPECT_EQ(s.stop(), 0);
}

const char* kMatureWeight = "70.0\n\"Mature weight of ewes\"";

INSTANTIATE_TEST_SUITE_P(
    Server, SaveIntoFiles,
    testing::Values(
        SaveCase{"OneNumber", {{"mwE[1]", "72"}}, {{"INPUTS04.TXT", kMatureWeight, "72\n\"Mature weight of ewes\""}},
                 nullptr, nullptr},
        SaveCase{"NumbersOfTwoFiles",
                 {{"conrateE[2]", "0.85"}, {"prclfL[2]", 3.1}},
                 {{"INPUTS01.TXT", "0.880 0.920 0.930", "0.880 0.85 0.930"},
                  {"INPUTS14.TXT", "2.80 3.05 3.30", "2.80 3.1 3.30"}},
                 nullptr, nullptr},
        SaveCase{"FileChangedOnDisk", {{"mwE[1]", "72"}}, {}, "INPUTS04.TXT", "INPUTS04.TXT"},
        SaveCase{"ValueTheChecksRefuse", {{"mwE[1]", "4e9"}}, {}, nullptr, "but it must be from 10 to 300"},
        SaveCase{"UnknownName", {{"conrateX[1]", "3"}}, {}, nullptr, "conrateX"}),
    [](const testing::TestParamInfo<SaveCase>& i) { return std::string(i.param.name); });

}  // namespace
