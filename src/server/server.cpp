#include "server/server.h"

#include <httplib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <functional>
#include <future>
#include <mutex>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <thread>

#include "server/page.h"
#include "server/workdir.h"

namespace server {

namespace {

using Json = workdir::Json;

constexpr std::size_t kMaxBody = 1 << 20;
constexpr std::size_t kKeptRuns = 10;

// The computations run on as many threads as the machine has cores, which
// the server keeps for its whole life: the model's phases keep tables per
// thread, so a computation on every thread that serves a request would
// leave such tables on each of them.  At most `waiting` computations wait
// for a thread; beyond them a computation is refused.
class ComputePool {
public:
    ComputePool(int threads, int waiting) : waiting_(std::size_t(waiting)) {
        for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
    }
    ~ComputePool() {
        {
            std::lock_guard<std::mutex> lock(m_);
            stopping_ = true;
        }
        ready_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    // Runs compute on one of the pool's threads and gives its answer; false
    // (and nothing run) where the queue is full.
    bool run(const std::function<Json()>& compute, Json& out) {
        std::packaged_task<Json()> task(compute);
        std::future<Json> answer = task.get_future();
        {
            std::lock_guard<std::mutex> lock(m_);
            if (queue_.size() >= waiting_ + idle_) return false;
            queue_.push_back(std::move(task));
        }
        ready_.notify_one();
        out = answer.get();
        return true;
    }

private:
    void work() {
        std::unique_lock<std::mutex> lock(m_);
        for (;;) {
            ++idle_;
            ready_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            --idle_;
            if (queue_.empty()) return;
            std::packaged_task<Json()> task = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
    }

    std::mutex m_;
    std::condition_variable ready_;
    std::deque<std::packaged_task<Json()>> queue_;
    std::size_t waiting_;
    std::size_t idle_ = 0;  // threads waiting for a computation
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// The files of the last runs, for their download links.
class RunStore {
public:
    int next() {
        std::lock_guard<std::mutex> lock(m_);
        return ++last_;
    }
    void keep(int number, workdir::RunOutcome&& run) {
        std::lock_guard<std::mutex> lock(m_);
        runs_.push_back({number, std::move(run.results), std::move(run.csv), std::move(run.json)});
        if (runs_.size() > kKeptRuns) runs_.pop_front();
    }
    // The file `what` of run `number`; false where the run is not kept.
    bool file(int number, const std::string& what, std::string& out) {
        std::lock_guard<std::mutex> lock(m_);
        for (const Kept& k : runs_)
            if (k.number == number) {
                out = what == "results" ? k.results : what == "csv" ? k.csv : k.json;
                return true;
            }
        return false;
    }

private:
    struct Kept {
        int number;
        std::string results, csv, json;
    };
    std::mutex m_;
    std::deque<Kept> runs_;
    int last_ = 0;
};

void answer(httplib::Response& res, int status, const Json& body) {
    res.status = status;
    // Texts of input files that are not UTF-8 (a label in Latin-1) reach
    // the page with the replacement character in place of the odd bytes.
    res.set_content(body.dump(-1, ' ', false, Json::error_handler_t::replace), "application/json");
}

void refuse(httplib::Response& res, int status, const std::string& message) {
    answer(res, status, Json{{"ok", false}, {"message", message}});
}

// A malformed request: the message goes back with 400.
struct BadRequest {
    std::string message;
};

Json parseBody(const httplib::Request& req) {
    Json body = Json::parse(req.body, nullptr, false);
    if (body.is_discarded()) throw BadRequest{"The body of the request is not JSON."};
    if (!body.is_object()) throw BadRequest{"The body of the request must be a JSON object."};
    return body;
}

// A number or a text of digits as the text of a value.
std::string valueText(const Json& v, const std::string& what) {
    if (v.is_string()) return v.get<std::string>();
    if (v.is_number_integer() || v.is_number_unsigned()) return v.dump();
    if (v.is_number_float()) return v.dump();
    throw BadRequest{what + " must be a number or a text."};
}

workdir::Changes changesOf(const Json& body) {
    workdir::Changes out;
    if (!body.contains("changes")) return out;
    const Json& c = body["changes"];
    if (!c.is_object()) throw BadRequest{"\"changes\" must be an object of names and values."};
    for (const auto& [name, value] : c.items()) out.emplace_back(name, valueText(value, "The value of " + name));
    return out;
}

workdir::Sds sdsOf(const Json& body) {
    workdir::Sds out;
    if (!body.contains("sd") || body["sd"].is_null()) return out;
    const Json& s = body["sd"];
    if (!s.is_object()) throw BadRequest{"\"sd\" must be an object of trait numbers and standard deviations."};
    for (const auto& [key, value] : s.items()) {
        char* end = nullptr;
        const long t = std::strtol(key.c_str(), &end, 10);
        if (key.empty() || *end || t < 1 || t > 35) throw BadRequest{"\"sd\": " + key + " is not a trait number (1 to 35)."};
        if (value.is_null() || (value.is_string() && value.get<std::string>().empty())) continue;
        const std::string text = valueText(value, "The standard deviation of trait " + key);
        const double sd = std::strtod(text.c_str(), &end);
        if (text.empty() || *end || !std::isfinite(sd) || sd < 0)
            throw BadRequest{"The standard deviation of trait " + key + " must be a number, 0 or more."};
        out[int(t)] = sd;
    }
    return out;
}

// The page with its style and script in place.
std::string pageText() {
    std::string html(page::html);
    const auto put = [&](const std::string& marker, std::string_view text) {
        const std::size_t at = html.find(marker);
        if (at != std::string::npos) html.replace(at, marker.size(), text);
    };
    put("/*PAGE_CSS*/", page::css);
    put("/*PAGE_JS*/", page::js);
    return html;
}

// The methods of the known paths.
const std::map<std::string, std::string>& routes() {
    static const std::map<std::string, std::string> r = {{"/", "GET"},
                                                         {"/api/inputs", "GET"},
                                                         {"/api/download", "GET"},
                                                         {"/api/check", "POST"},
                                                         {"/api/run", "POST"},
                                                         {"/api/sweep", "POST"},
                                                         {"/api/save", "POST"}};
    return r;
}

// Compares in a time that does not depend on where the texts differ.
bool sameSecret(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    unsigned char d = 0;
    for (std::size_t i = 0; i < a.size(); ++i) d |= static_cast<unsigned char>(a[i] ^ b[i]);
    return d == 0;
}

std::string newToken() {
    unsigned char bytes[16] = {};
    std::ifstream random("/dev/urandom", std::ios::binary);
    random.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    if (!random) throw std::runtime_error("no random numbers from /dev/urandom for the access token");
    std::string token;
    char hex[3];
    for (unsigned char b : bytes) {
        std::snprintf(hex, sizeof hex, "%02x", b);
        token += hex;
    }
    return token;
}

class Service {
public:
    Service(const Options& o, int computations, std::string token)
        : token_(std::move(token)),
          pool_(computations, o.queue),
          page_(pageText()) {}

    void install(httplib::Server& http, int port) {
        port_ = port;
        http.set_payload_max_length(kMaxBody);
        http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
            return admit(req, res) ? httplib::Server::HandlerResponse::Unhandled
                                   : httplib::Server::HandlerResponse::Handled;
        });
        http.set_error_handler(httplib::Server::HandlerWithResponse(
            [](const httplib::Request&, httplib::Response& res) {
            if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
            refuse(res, res.status,
                   res.status == 413 ? "The request is larger than 1 MB." : "The request cannot be served.");
            return httplib::Server::HandlerResponse::Handled;
        }));
        http.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr e) {
            std::string what = "unknown";
            try {
                std::rethrow_exception(e);
            } catch (const std::exception& x) {
                what = x.what();
            } catch (...) {
            }
            std::fprintf(stderr, "karvel1 serve: a request failed: %s\n", what.c_str());
            refuse(res, 500, "The server failed on this request (" + what + "); it goes on serving.");
        });
        http.Get("/", [this](const httplib::Request&, httplib::Response& res) {
            res.set_header("Cache-Control", "no-store");
            res.set_content(page_, "text/html; charset=utf-8");
        });
        http.Get("/api/inputs", [this](const httplib::Request& req, httplib::Response& res) {
            handle(req, res, [&](const Json&) { return computed(res, [] { return workdir::inputs(); }); }, false);
        });
        http.Post("/api/check", [this](const httplib::Request& req, httplib::Response& res) {
            handle(req, res, [&](const Json& body) {
                const auto changes = changesOf(body);
                return computed(res, [&] { return workdir::check(changes); });
            });
        });
        http.Post("/api/run", [this](const httplib::Request& req, httplib::Response& res) {
            handle(req, res, [&](const Json& body) {
                const auto changes = changesOf(body);
                const auto sds = sdsOf(body);
                return computed(res, [&] {
                    const int number = runs_.next();
                    workdir::RunOutcome run = workdir::run(changes, sds, number);
                    Json out = std::move(run.answer);
                    if (out["ok"].get<bool>()) runs_.keep(number, std::move(run));
                    return out;
                });
            });
        });
        http.Post("/api/sweep", [this](const httplib::Request& req, httplib::Response& res) {
            handle(req, res, [&](const Json& body) {
                const auto changes = changesOf(body);
                if (!body.contains("sweep") || !body["sweep"].is_object())
                    throw BadRequest{"\"sweep\" must be an object with name, from, to and steps."};
                const Json& s = body["sweep"];
                if (!s.contains("name") || !s["name"].is_string() || !s.contains("from") || !s.contains("to") ||
                    !s.contains("steps") || !s["steps"].is_number_integer())
                    throw BadRequest{"\"sweep\" must have a name (text), from, to and steps (a whole number)."};
                const std::string name = s["name"].get<std::string>();
                const std::string from = valueText(s["from"], "from"), to = valueText(s["to"], "to");
                const long long steps = s["steps"].get<long long>();
                if (steps < 2 || steps > workdir::kMaxSweepSteps)
                    throw BadRequest{"The number of values of a sweep must be from 2 to " +
                                     std::to_string(workdir::kMaxSweepSteps) + "."};
                return computed(res, [&] { return workdir::sweep(changes, name, from, to, int(steps)); });
            });
        });
        http.Post("/api/save", [this](const httplib::Request& req, httplib::Response& res) {
            handle(req, res, [&](const Json& body) {
                const auto changes = changesOf(body);
                std::map<std::string, std::string> versions;
                if (body.contains("versions")) {
                    if (!body["versions"].is_object()) throw BadRequest{"\"versions\" must be an object."};
                    for (const auto& [file, v] : body["versions"].items()) {
                        if (!v.is_string()) throw BadRequest{"The version of " + file + " must be a text."};
                        versions[file] = v.get<std::string>();
                    }
                }
                // Saves one after another: two saves of one file at once
                // would each check the version before the other writes.
                return computed(res, [&] {
                    std::lock_guard<std::mutex> lock(saving_);
                    return workdir::save(changes, versions);
                });
            });
        });
        http.Get("/api/download", [this](const httplib::Request& req, httplib::Response& res) {
            const std::string what = req.get_param_value("what");
            const std::string runText = req.get_param_value("run");
            char* end = nullptr;
            const long number = std::strtol(runText.c_str(), &end, 10);
            if (runText.empty() || *end || number < 1 || number > INT_MAX ||
                (what != "results" && what != "csv" && what != "json"))
                return refuse(res, 400, "Ask for run=N and what=results, csv or json.");
            std::string text;
            if (!runs_.file(int(number), what, text))
                return refuse(res, 404, "Run " + runText + " is not kept (the server keeps the last " +
                                            std::to_string(kKeptRuns) + " runs); run it again.");
            const std::string n = std::to_string(number);
            const std::string file = what == "results" ? "RESULTS-run" + n + ".TXT"
                                     : what == "csv"   ? "weights-run" + n + ".csv"
                                                       : "weights-run" + n + ".json";
            res.set_header("Content-Disposition", "attachment; filename=\"" + file + "\"");
            res.set_content(text, what == "results" ? "text/plain; charset=utf-8"
                                  : what == "csv"   ? "text/csv; charset=utf-8"
                                                    : "application/json");
        });
    }

private:
    // The token and the Host header of every request; the method of a
    // known path.
    bool admit(const httplib::Request& req, httplib::Response& res) {
        const std::string host = req.get_header_value("Host");
        const std::string port = ":" + std::to_string(port_);
        if (host != "127.0.0.1" + port && host != "localhost" + port && host != "[::1]" + port) {
            refuse(res, 403, "This server answers only requests to 127.0.0.1, localhost or [::1] with its port.");
            return false;
        }
        const std::string given =
            req.has_header("X-Token") ? req.get_header_value("X-Token") : req.get_param_value("token");
        if (!sameSecret(given, token_)) {
            refuse(res, 403, "The request lacks the access token: open the address the server printed.");
            return false;
        }
        const auto route = routes().find(req.path);
        if (route == routes().end()) {
            refuse(res, 404, "There is no " + req.path + " here.");
            return false;
        }
        if (req.method != route->second) {
            res.set_header("Allow", route->second);
            refuse(res, 405, req.path + " takes only " + route->second + " requests.");
            return false;
        }
        return true;
    }

    // Answers a request of the API: its JSON body (for a POST) to `work`,
    // which gives the answer; a malformed request is answered with 400.
    template <class F> void handle(const httplib::Request& req, httplib::Response& res, F work, bool body = true) {
        try {
            const Json parsed = body ? parseBody(req) : Json::object();
            const Json out = work(parsed);
            if (!out.is_null()) answer(res, 200, out);
        } catch (const BadRequest& e) {
            refuse(res, 400, e.message);
        }
    }

    // Runs a computation on the pool; null (and 503) where its queue is
    // full.  An exception of the computation reaches the request's handler.
    template <class F> Json computed(httplib::Response& res, F compute) {
        Json out;
        if (!pool_.run(compute, out)) {
            refuse(res, 503,
                   "The server is busy: every core computes and the queue of waiting computations is full. "
                   "Try again in a moment.");
            return Json();
        }
        return out;
    }

    const std::string token_;
    int port_ = 0;
    ComputePool pool_;
    RunStore runs_;
    std::mutex saving_;
    const std::string page_;
};

// Waits in its own thread for SIGINT or SIGTERM (blocked in every other
// thread) and stops the server.
void stopOnSignal(httplib::Server& http, const sigset_t& signals) {
    std::thread([&http, signals] {
        int sig = 0;
        sigwait(&signals, &sig);
        http.stop();
    }).detach();
}

}  // namespace

int serve(const Options& options) {
    std::error_code ec;
    std::filesystem::current_path(options.dir, ec);
    if (ec) {
        std::fprintf(stderr, "karvel1 serve: the working directory %s cannot be entered (%s).\n",
                     options.dir.c_str(), ec.message().c_str());
        return 1;
    }
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::string token;
    try {
        token = newToken();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "karvel1 serve: %s.\n", e.what());
        return 1;
    }
    const int computations =
        options.computations > 0 ? options.computations : int(std::max(1u, std::thread::hardware_concurrency()));
    // The threads that serve requests, the computing ones and the memory
    // pools of malloc are as few as will do: each of them keeps what it
    // once held (a stack, free memory), and a server that runs for days
    // must not grow with the number of requests.
    mallopt(M_ARENA_MAX, computations + 1);
    Service service(options, computations, token);
    httplib::Server http;
    // A thread for each computation that runs or waits, and a few for the
    // requests that need none.
    const int threads = computations + options.queue + 4;
    http.new_task_queue = [threads] { return new httplib::ThreadPool(std::size_t(threads)); };
    // The listening socket: reusable at once after a stop (but not bound by
    // a second server beside this one, as SO_REUSEPORT would allow).
    int listening = -1;
    http.set_socket_options([&listening](socket_t sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = sock;
    });
    int port = options.port;
    if (port == 0) {
        port = http.bind_to_any_port("127.0.0.1");
    } else if (!http.bind_to_port("127.0.0.1", port)) {
        port = -1;
    }
    if (port <= 0) {
        std::fprintf(stderr, "karvel1 serve: the port %d of 127.0.0.1 cannot be used (%s).\n", options.port,
                     std::strerror(errno));
        return 1;
    }
    // The library listens with a backlog of 5 connections; a burst of
    // requests beyond it (a browser opens six at once, clients beside it)
    // would be dropped by the kernel and fail.
    if (listening >= 0) ::listen(listening, SOMAXCONN);
    service.install(http, port);
    stopOnSignal(http, signals);
    std::printf("Serving %s at http://127.0.0.1:%d/?token=%s\n", options.dir.c_str(), port, token.c_str());
    std::fflush(stdout);
    if (!http.listen_after_bind() && http.is_running()) {
        std::fprintf(stderr, "karvel1 serve: serving stopped (%s).\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

int serveCommandLine(int argc, char** argv) {
    Options o;
    bool haveDir = false;
    const auto usage = [](const std::string& text) {
        std::fprintf(stderr, "karvel1 serve: %s\nUsage: karvel1 serve [DIR] [--port N]\n", text.c_str());
        return 2;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            std::printf("Usage: karvel1 serve [DIR] [--port N]\n"
                        "Serves a page for the working directory DIR (default: the current one) on\n"
                        "http://127.0.0.1:N/ (N 0 or none: a free port) until interrupted (Ctrl-C).\n"
                        "The page shows the inputs, checks changed values, runs the system, shows the\n"
                        "economic weights and the relative emphasis, draws a sweep of one input and\n"
                        "saves changed values into the input files.  Open the address it prints:\n"
                        "every request must carry its token.\n");
            return 0;
        }
        if (a == "--port" || a.rfind("--port=", 0) == 0) {
            std::string n;
            if (a == "--port") {
                if (i + 1 >= argc) return usage("--port needs a number");
                n = argv[++i];
            } else {
                n = a.substr(7);
            }
            char* end = nullptr;
            const long p = std::strtol(n.c_str(), &end, 10);
            if (n.empty() || *end || p < 0 || p > 65535) return usage("--port " + n + ": a port is a number from 0 to 65535");
            o.port = int(p);
        } else if (!a.empty() && a[0] == '-') {
            return usage("unknown option " + a);
        } else if (haveDir) {
            return usage("one working directory only (" + o.dir + " and " + a + ")");
        } else {
            o.dir = a;
            haveDir = true;
        }
    }
    return serve(o);
}

}  // namespace server
