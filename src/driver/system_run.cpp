#include "driver/system_run.h"

#include <sstream>

#include "context/memory_stream.h"
#include "context/run.h"
#include "driver/driver.h"

namespace {

const std::string kHeading = "Error message:\n";

}  // namespace

SystemRun::Status runWithChanges(Run& run, Overrides& ov, bool weights, std::FILE* input, std::string& error) {
    run.overrides = ov.items.empty() ? nullptr : &ov;
    if (run.overrides && !locateChanges(run, error)) return SystemRun::Status::NotMade;
    const bool complete = weights ? runProgram(run, input) == 0 : evaluateInputs(run, run.overrides);
    return complete ? SystemRun::Status::Complete : SystemRun::Status::Stopped;
}

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
    std::string error;
    out.status = runWithChanges(run, ov, options.weights, nullptr, error);
    out.messages = out.status == SystemRun::Status::NotMade ? error : messages.text();
    if (out.status == SystemRun::Status::Complete && options.results) out.results = results.text();
    out.changes = std::move(ov.items);
    return out;
}

std::vector<std::string> sweepSteps(double from, double to, int steps) {
    std::vector<std::string> values;
    for (int i = 0; i < steps; ++i) {
        const double v = steps == 1 ? from : from + i * ((to - from) / (steps - 1));
        // At most 15 significant digits: the steps of 0.8:0.9:3 are 0.8,
        // 0.85 and 0.9, not 0.8500000000000001; a whole number is written
        // as such.
        values.push_back(decimalText(v));
    }
    return values;
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
