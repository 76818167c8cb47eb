#include "driver/system_run.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "context/run.h"
#include "driver/driver.h"

namespace {

// A stream in memory that gives its text back (null streams where memory
// runs out: what is written is then lost, not the run).
class MemoryStream {
public:
    MemoryStream() : f_(open_memstream(&buf_, &len_)) {}
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;
    ~MemoryStream() {
        if (f_) std::fclose(f_);
        std::free(buf_);
    }
    std::FILE* file() const { return f_ ? f_ : discardStream(); }
    std::string text() {
        if (!f_) return "";
        std::fflush(f_);
        return std::string(buf_ ? buf_ : "", len_);
    }

private:
    char* buf_ = nullptr;
    std::size_t len_ = 0;
    std::FILE* f_;
};

const std::string kHeading = "Error message:\n";

}  // namespace

SystemRun runSystem(const std::vector<Override>& changes, const SystemRunOptions& options) {
    SystemRun out;
    out.model = newModel();
    MemoryStream messages, results;
    Overrides ov;
    ov.items = changes;
    Run run(*out.model);
    run.con = discardStream();
    run.msg = messages.file();
    run.outputs = false;
    if (options.results) run.resultsTo = results.file();
    run.threads = 1;
    run.overrides = changes.empty() ? nullptr : &ov;
    std::string error;
    if (run.overrides && !locateChanges(run, error)) {
        out.status = SystemRun::Status::NotMade;
        out.messages = error;
    } else {
        const bool complete = options.weights ? runProgram(run, nullptr) == 0 : evaluateInputs(run, run.overrides);
        out.status = complete ? SystemRun::Status::Complete : SystemRun::Status::Stopped;
        out.messages = messages.text();
        if (complete && options.results) out.results = results.text();
    }
    out.changes = std::move(ov.items);
    return out;
}

std::string stopMessage(const std::string& text) {
    const std::size_t h = text.rfind(kHeading);
    std::string s = h == std::string::npos ? text : text.substr(h + kHeading.size());
    const std::size_t a = s.find_first_not_of('\n');
    if (a == std::string::npos) return "";
    const std::size_t b = s.find_last_not_of('\n');
    return s.substr(a, b - a + 1);
}

std::string oneLine(const std::string& text) {
    std::istringstream in(stopMessage(text));
    std::string line, out;
    while (std::getline(in, line)) {
        const std::size_t a = line.find_first_not_of(" \t\r");
        if (a == std::string::npos) continue;
        const std::size_t b = line.find_last_not_of(" \t\r");
        if (!out.empty()) out += ' ';
        out.append(line, a, b - a + 1);
    }
    return out;
}

std::vector<exporting::ChangedValue> changedValues(const std::vector<Override>& changes) {
    std::vector<exporting::ChangedValue> out;
    for (const Override& o : changes) out.push_back({o.name, o.at.file, o.at.record, o.at.text, o.usedText});
    return out;
}
