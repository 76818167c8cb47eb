#include "server/workdir.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "context/memory_stream.h"
#include "context/run.h"
#include "driver/driver.h"
#include "driver/input_list.h"
#include "driver/system_run.h"
#include "input/overrides.h"
#include "model/model.h"
#include "report/export.h"

namespace workdir {

namespace {

// The table of standard deviations that the page fills its fields from.
constexpr const char* kSdFile = "SD.TXT";

bool readWhole(const std::string& name, std::string& out) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return !in.bad();
}

// The text that `write` writes into a stream.
template <class F> std::string written(F write) {
    MemoryStream s;
    write(s.file());
    return s.text();
}

// The changes as --set takes them.  A change that cannot be parsed gives
// false with the message and the name it is about.
bool parseChanges(const Changes& changes, std::vector<Override>& out, std::string& error, std::string& name) {
    for (const auto& [n, v] : changes) {
        Override o;
        if (!parseOverride(n + "=" + v, false, o, error)) {
            name = n;
            return false;
        }
        out.push_back(o);
    }
    return true;
}

// The changed name that the message of a stopped run is about: the change
// whose record the message names, or whose name it names; "" for none.
std::string aboutWhich(const SystemRun& r, const std::string& message) {
    for (const Override& o : r.changes)
        if (o.at.token >= 0 && message.find(o.at.file) != std::string::npos &&
            message.find("record " + std::to_string(o.at.record) + " (line") != std::string::npos)
            return o.name;
    for (const Override& o : r.changes)
        if (message.find(o.name) != std::string::npos) return o.name;
    return "";
}

Json nameOrNull(const std::string& name) { return name.empty() ? Json() : Json(name); }

// The answer of a run that did not complete: its message (a stop's without
// the heading; a change not made: the reason) and the name it is about.
Json failure(const SystemRun& r) {
    const std::string message = r.status == SystemRun::Status::NotMade ? r.messages : stopMessage(r.messages);
    return Json{{"ok", false}, {"message", message}, {"name", nameOrNull(aboutWhich(r, message))}};
}

Json parseFailure(const std::string& error, const std::string& name) {
    return Json{{"ok", false}, {"message", error}, {"name", nameOrNull(name)}};
}

// The warnings of a complete run, without the blank lines around them.
std::string warnings(const std::string& messages) {
    const std::size_t a = messages.find_first_not_of('\n');
    if (a == std::string::npos) return "";
    return messages.substr(a, messages.find_last_not_of('\n') - a + 1);
}

// The name of the table of standard deviations in the directory ("" for
// none); its case is the file's own.
std::string sdFileName() {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(".", ec)) {
        std::string n = e.path().filename().string();
        std::string upper = n;
        for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
        if (upper == kSdFile && e.is_regular_file(ec)) return n;
    }
    return "";
}

// The sections of one file: the numbers (rows of the list, in file order)
// after each of its comments.  The first comment heads the file; numbers
// before any other comment form a section without a title.
Json fileEntry(const std::string& file, const std::vector<Json>& rows) {
    std::string content;
    readWhole(file, content);
    const std::vector<Comment> notes = comments(content);
    Json entry{{"file", file}, {"version", version(content)}, {"header", notes.empty() ? "" : notes[0].text}};
    Json sections = Json::array();
    int current = -1;
    for (const Json& row : rows) {
        const int line = row["line"].get<int>();
        int at = 0;
        for (std::size_t i = 1; i < notes.size() && notes[i].line <= line; ++i) at = int(i);
        if (sections.empty() || at != current) {
            sections.push_back(Json{{"title", at > 0 ? notes[std::size_t(at)].text : ""}, {"numbers", Json::array()}});
            current = at;
        }
        sections.back()["numbers"].push_back(row);
    }
    entry["sections"] = sections;
    return entry;
}

// The column of a weight as the JSON document names it.
int columnNumber(const std::string& column) {
    if (column == "pure-bred") return 1;
    if (column == "cross-bred") return 2;
    return 0;
}

}  // namespace

std::string version(const std::string& content) {
    // FNV-1a: a change of the file between reading and saving, not an
    // attacker, is what it has to notice.
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : content) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char text[24];
    std::snprintf(text, sizeof text, "%016llx-%zu", static_cast<unsigned long long>(h), content.size());
    return text;
}

std::vector<Comment> comments(const std::string& content) {
    std::vector<Comment> out;
    int line = 1;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\n') {
            ++line;
        } else if (c == '"') {
            for (++i; i < content.size() && content[i] != '"'; ++i)
                if (content[i] == '\n') ++line;
        } else if (c == '/') {
            Comment note{line, ""};
            for (++i; i < content.size() && content[i] != '/'; ++i) {
                const char d = content[i];
                if (d == '\n') ++line;
                if (std::isspace(static_cast<unsigned char>(d))) {
                    if (!note.text.empty() && note.text.back() != ' ') note.text += ' ';
                } else {
                    note.text += d;
                }
            }
            while (!note.text.empty() && note.text.back() == ' ') note.text.pop_back();
            out.push_back(note);
        }
    }
    return out;
}

Json inputs() {
    const ModelCopy model = newModel();
    MemoryStream messages;
    Run run(*model);
    run.msg = messages.file();
    Overrides ov;
    if (!traceInputs(run, ov)) return Json{{"ok", false}, {"message", stopMessage(messages.text())}};

    // The rows by file, the files in reading order.
    std::vector<std::string> files;
    std::map<std::string, std::vector<Json>> rows;
    Json system = Json::object();
    for (const TracedNumber* t : ov.changeable()) {
        Json row = inputRow(*t);
        if (t->where.file == "PARAS.TXT") system[t->name] = row["value"];
        row["value"] = valueText(*t);
        row.erase("file");
        if (!rows.count(t->where.file)) files.push_back(t->where.file);
        rows[t->where.file].push_back(row);
    }
    Json fileList = Json::array();
    for (const std::string& f : files) fileList.push_back(fileEntry(f, rows[f]));

    Json traits = Json::array();
    for (int t = 1; t <= 35; ++t)
        traits.push_back(Json{{"trait", t}, {"name", exporting::trait(t).name}, {"unit", exporting::trait(t).unit}});

    Json sd = Json::object();
    const std::string sdFile = sdFileName();
    Json answer{{"ok", true},
                {"program", Json{{"name", exporting::kProgramName}, {"version", exporting::kProgramVersion}}},
                {"dir", std::filesystem::current_path().string()},
                {"files", fileList},
                {"traits", traits}};
    if (!sdFile.empty()) {
        exporting::SdTable table;
        std::string error;
        if (exporting::readSdTable(sdFile, table, error)) {
            for (int t = 1; t <= 35; ++t)
                if (table.has[t]) sd[std::to_string(t)] = table.sd[t];
        } else {
            answer["sdError"] = error;
        }
    }
    answer["sd"] = sd;
    answer["sdFile"] = sdFile.empty() ? Json() : Json(sdFile);
    answer["system"] = system;
    return answer;
}

Json check(const Changes& changes) {
    std::vector<Override> ovs;
    std::string error, name;
    if (!parseChanges(changes, ovs, error, name)) return parseFailure(error, name);
    const SystemRun r = runSystem(ovs, {.weights = false});
    if (r.status != SystemRun::Status::Complete) return failure(r);
    return Json{{"ok", true}, {"warnings", warnings(r.messages)}};
}

RunOutcome run(const Changes& changes, const Sds& sds, int number) {
    RunOutcome out;
    std::vector<Override> ovs;
    std::string error, name;
    if (!parseChanges(changes, ovs, error, name)) {
        out.answer = parseFailure(error, name);
        out.answer["run"] = number;
        return out;
    }
    exporting::SdTable table;
    for (const auto& [t, sd] : sds) {
        table.sd[t] = sd;
        table.has[t] = true;
    }
    const exporting::SdTable* sd = sds.empty() ? nullptr : &table;
    const SystemRun r = runSystem(ovs, {.weights = true, .results = true});
    if (r.status != SystemRun::Status::Complete) {
        out.answer = failure(r);
        out.answer["run"] = number;
        return out;
    }
    const Model& m = *r.model;
    const auto changed = changedValues(r.changes);
    out.json = written([&](std::FILE* f) { exporting::writeJson(m, sd, changed, f); });
    out.csv = written([&](std::FILE* f) { exporting::writeCsv(m, sd, f); });
    out.results = r.results;
    const std::string base = "/api/download?run=" + std::to_string(number) + "&what=";
    out.answer = Json{{"ok", true},
                      {"run", number},
                      {"warnings", warnings(r.messages)},
                      {"result", Json::parse(out.json)},
                      {"chart", sd ? Json(written([&](std::FILE* f) { exporting::writeChart(m, *sd, f); })) : Json()},
                      {"downloads", Json{{"results", base + "results"}, {"csv", base + "csv"}, {"json", base + "json"}}}};
    return out;
}

Json sweep(const Changes& changes, const std::string& name, const std::string& from, const std::string& to,
           int steps) {
    std::vector<Override> ovs;
    std::string error, bad;
    Changes others;
    // The swept input takes the sweep's values in place of its change.
    for (const auto& c : changes)
        if (c.first != name) others.push_back(c);
    if (!parseChanges(others, ovs, error, bad)) return parseFailure(error, bad);
    Override lo, hi;
    if (!parseOverride(name + "=" + from, false, lo, error) || !parseOverride(name + "=" + to, false, hi, error))
        return parseFailure(error, name);
    if (lo.pattern())
        return parseFailure("A sweep changes one number: " + name + " stands for several.", name);
    if (steps < 2 || steps > kMaxSweepSteps)
        return parseFailure("The number of values of a sweep must be from 2 to " + std::to_string(kMaxSweepSteps) + ".",
                            name);
    Json rows = Json::array();
    for (const std::string& value : sweepSteps(lo.number, hi.number, steps)) {
        std::vector<Override> all = ovs;
        Override o = lo;
        o.valueText = value;
        o.number = std::strtod(value.c_str(), nullptr);
        all.push_back(o);
        const SystemRun r = runSystem(all);
        Json row{{"value", value}};
        if (r.status != SystemRun::Status::Complete) {
            row["status"] = r.status == SystemRun::Status::NotMade ? "not made" : "stopped";
            row["message"] = oneLine(r.messages);
            row["profit"] = nullptr;
            row["weights"] = Json::object();
            // A change that cannot be made is the same for every value.
            if (r.status == SystemRun::Status::NotMade) return parseFailure(r.messages, name);
        } else {
            const Json doc = Json::parse(written([&](std::FILE* f) {
                exporting::writeJson(*r.model, nullptr, changedValues(r.changes), f);
            }));
            row["status"] = "ok";
            row["message"] = oneLine(r.messages);
            row["profit"] = doc["totals"]["Tprof"];
            Json weights = Json::object();
            for (const Json& w : doc["weights"])
                weights[std::to_string(w["trait"].get<int>()) + "-" +
                        std::to_string(columnNumber(w["column"].get<std::string>()))] = w["weight"];
            row["weights"] = weights;
        }
        rows.push_back(row);
    }
    return Json{{"ok", true}, {"name", name}, {"rows", rows}};
}

Json save(const Changes& changes, const std::map<std::string, std::string>& versions) {
    std::vector<Override> ovs;
    std::string error, name;
    if (!parseChanges(changes, ovs, error, name)) return parseFailure(error, name);
    if (ovs.empty()) return Json{{"ok", true}, {"written", Json::array()}, {"versions", Json::object()}};
    // The check finds where each number stands and refuses values that
    // would stop a run.
    const SystemRun r = runSystem(ovs, {.weights = false});
    if (r.status != SystemRun::Status::Complete) return failure(r);

    // The new contents, every file checked before any is written.
    std::map<std::string, std::vector<const Override*>> byFile;
    for (const Override& o : r.changes) byFile[o.at.file].push_back(&o);
    std::map<std::string, std::string> contents;
    for (auto& [file, list] : byFile) {
        const auto refuse = [&](const std::string& why) {
            return Json{{"ok", false}, {"message", "Nothing was saved: " + why}, {"name", nullptr}};
        };
        const auto known = versions.find(file);
        if (known == versions.end())
            return refuse("the page has not read " + file + ". Reload the page and make the changes again.");
        std::error_code ec;
        if (std::filesystem::is_symlink(file, ec))
            return refuse(file + " is a symbolic link; change the file it points to in an editor.");
        std::string content;
        if (!readWhole(file, content)) return refuse(file + " cannot be read (" + std::strerror(errno) + ").");
        if (version(content) != known->second)
            return refuse(file + " has changed on disk since the page read it. Reload the page to see it as it is now, "
                          "then make the changes again.");
        // From the last number to the first, so that the offsets of those
        // before stay as they are.
        std::sort(list.begin(), list.end(), [](const Override* a, const Override* b) { return a->at.offset > b->at.offset; });
        for (const Override* o : list) {
            const std::size_t at = std::size_t(o->at.offset);
            if (o->at.offset < 0 || content.compare(at, o->at.text.size(), o->at.text) != 0)
                return refuse("the number of " + o->name + " is not where the reading found it in " + file +
                              ". Reload the page and make the changes again.");
            content.replace(at, o->at.text.size(), o->usedText);
        }
        contents[file] = content;
    }

    // Each file under a temporary name beside it, then all renamed.
    std::vector<std::pair<std::string, std::string>> temps;
    const auto removeTemps = [&] {
        for (const auto& t : temps) std::remove(t.first.c_str());
    };
    for (const auto& [file, content] : contents) {
        std::string temp = file + ".XXXXXX";
        const int fd = mkstemp(temp.data());
        bool ok = fd >= 0;
        if (ok) {
            temps.emplace_back(temp, file);
            struct stat st {};
            if (stat(file.c_str(), &st) == 0) fchmod(fd, st.st_mode & 07777);
            std::size_t done = 0;
            while (ok && done < content.size()) {
                const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
                if (n <= 0) ok = false;
                else done += std::size_t(n);
            }
            ok = ::fsync(fd) == 0 && ok;
            ok = ::close(fd) == 0 && ok;
        }
        if (!ok) {
            const std::string why = std::strerror(errno);
            removeTemps();
            return Json{{"ok", false},
                        {"message", "Nothing was saved: " + file + " cannot be written in the working directory (" +
                                        why + ")."},
                        {"name", nullptr}};
        }
    }
    Json written = Json::array(), newVersions = Json::object();
    for (const auto& [temp, file] : temps) {
        if (std::rename(temp.c_str(), file.c_str()) != 0) {
            const std::string why = std::strerror(errno);
            removeTemps();
            return Json{{"ok", false},
                        {"message", file + " cannot be replaced (" + why + "); the files listed as written were."},
                        {"written", written},
                        {"name", nullptr}};
        }
        written.push_back(file);
        newVersions[file] = version(contents[file]);
    }
    return Json{{"ok", true}, {"written", written}, {"versions", newVersions}};
}

}  // namespace workdir
