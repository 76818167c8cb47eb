// What the web page asks of the working directory, without HTTP: the list
// of its input numbers by file and section, the check of changed values, a
// run with its downloads, a sweep, and the saving of changed values into the
// input files.  Every operation works in the current directory (the server
// enters the working directory at its start) and runs the system on a model
// state of its own, so that operations may run at the same time.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace workdir {

using Json = nlohmann::ordered_json;

// Changed input values: the name as --list prints it and the value text,
// in the order asked for.
using Changes = std::vector<std::pair<std::string, std::string>>;

// The inputs of the directory: files in reading order, each with its
// version, its first comment and its sections (the numbers after each of
// its comments), the traits with their units, the standard deviations of
// the table SD.TXT where the directory has one, and the system variables.
// Inputs that cannot be read give ok false with the program's message.
Json inputs();

// Reads the inputs with the changes and runs the base evaluation: ok, with
// the warnings, or the message of the check that stops the run and the
// changed name it is about (null where none can be told).
Json check(const Changes& changes);

// The standard deviations the page sends: trait number (1 to 35) -> sd.
using Sds = std::map<int, double>;

// The whole computation with the changes.  ok: the run's number, its
// warnings, the JSON document of `karvel1 --json` (with the sds as --sd
// gives them), the emphasis chart (where an sd is given) and the texts of
// the results file, the CSV table and the JSON document for download.
struct RunOutcome {
    Json answer;
    std::string results, csv, json;
};
RunOutcome run(const Changes& changes, const Sds& sds, int number);

// The whole computation for each of `steps` values of the input `name`
// from `from` to `to`, with the other changes made: one row per value
// with its status, message, profit and weights ("TRAIT-COLUMN").
Json sweep(const Changes& changes, const std::string& name, const std::string& from, const std::string& to,
           int steps);
inline constexpr int kMaxSweepSteps = 50;

// Writes the changed numbers into their input files: only the characters
// of each number change.  Each file is written under a temporary name in
// the directory and renamed over the old one.  Refused, with nothing
// written, when a file's content differs from the version the page read
// (versions: file -> version), or when the inputs with the changes stop the
// run.  ok: the files written and their new versions.
Json save(const Changes& changes, const std::map<std::string, std::string>& versions);

// The version of a file's content, as inputs() and save() give it.
std::string version(const std::string& content);

// The comments of an input file (the text between two slashes outside the
// quoted texts): the line each begins on (from 1) and its text with white
// space collapsed.
struct Comment {
    int line;
    std::string text;
};
std::vector<Comment> comments(const std::string& content);

}  // namespace workdir
