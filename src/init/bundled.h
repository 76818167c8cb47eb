// The example systems built into the program (dairy, meat, extensive): every
// file of their working directories, byte for byte as in examples/.  The
// table is generated at build time from the examples.
#pragma once

#include <span>
#include <string_view>

struct BundledFile {
    std::string_view example;  // "dairy", "meat", "extensive"
    std::string_view name;     // "PARAS.TXT", "INPUTS01.TXT", ...
    std::string_view bytes;
};

// The files of every bundled example, grouped by example and sorted by name.
std::span<const BundledFile> bundledFiles();
