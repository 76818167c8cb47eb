// A new working directory from a bundled example system (karvel1 init):
// the breeder's starting point for a system of their own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The bundled examples, in the order the build lists them; the first is
// init's default.
std::vector<std::string_view> bundledExampleNames();

// Writes every file of the bundled example `example` into `dir`, which is
// created with its parents when missing, and returns the names written in
// `written`.  Nothing is overwritten: when `dir` already holds a file of a
// working directory (PARAS.TXT, INPUTS01.TXT ... INPUTS14.TXT,
// TEXTS_OUT.TXT, SD.TXT, whatever the example writes), or an entry of that
// name appears while the files are written, nothing is left written and the
// function returns false with `error` set (a sentence without the program's
// name).  An unknown example, a `dir` that is not a directory or cannot be
// created, and a file that cannot be written completely (the files written
// before it are removed again; directories that were created stay) also
// give false.
bool writeExampleSystem(std::string_view example, const std::filesystem::path& dir,
                        std::vector<std::string>& written, std::string& error);
