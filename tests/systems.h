// The production systems of the test suite: the bundled examples and
// variants of them that take the branches the examples do not (other
// pricing systems, feed costing, weaning, crossing, replacement and weights
// options), each an example with a few edits of its input files.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "example_run.h"

namespace testutil {

struct System {
    const char* name;
    const char* example;
    std::vector<Edit> edits;  // none for the bundled examples
};

// The value before the record whose name begins with `record` changes from
// `from` to `to`.
inline Edit value(const char* file, const char* record, const char* from, const char* to) {
    static std::deque<std::string> texts;  // the edits point into these
    texts.push_back(std::string(from) + "\n\"" + record);
    const char* a = texts.back().c_str();
    texts.push_back(std::string(to) + "\n\"" + record);
    return {file, a, texts.back().c_str()};
}
inline Edit paras(const char* record, const char* from, const char* to) { return value("PARAS.TXT", record, from, to); }
inline Edit culled(const char* to) { return value("INPUTS12.TXT", "Pricing system for culled sheep", "4", to); }
inline Edit weaned(const char* to) { return value("INPUTS13.TXT", "Pricing system for lambs", "1", to); }
inline Edit fattened(const char* to) { return value("INPUTS14.TXT", "Pricing system for fattened", "2", to); }
inline Edit milkPrice(const char* to) { return value("INPUTS11.TXT", "Milk pricing system", "5", to); }

inline const std::vector<System>& systems() {
    static const std::vector<System> all = {
        {"dairy", "dairy", {}},
        {"meat", "meat", {}},
        {"extensive", "extensive", {}},
        {"large", "large", {}},
        {"MilkPrice1", "dairy", {milkPrice("1")}},
        {"MilkPrice2", "dairy", {milkPrice("2")}},
        {"MilkPrice3", "dairy", {milkPrice("3")}},
        {"MilkPrice4", "dairy", {milkPrice("4")}},
        {"CheeseByRecovery", "dairy", {value("INPUTS06.TXT", "Method for the cheese yield", "1", "2")}},
        {"Prices1", "dairy", {culled("1"), weaned("2"), fattened("3")}},
        {"Prices2", "dairy", {culled("2"), weaned("3"), fattened("1")}},
        {"Prices3", "dairy", {culled("3"), weaned("4"), fattened("4")}},
        {"YoungStockShearings", "dairy",
         {value("INPUTS09.TXT", "Shearings of young stock in breeding seasons", "0.0 1.0 1.0", "0.5 1.0 2.0")}},
        {"DairyEnergyOnly", "dairy", {paras("Method for the feed", "1", "2")}},
        {"DairyNotMilked", "dairy", {paras("Type of breed", "1", "2")}},
        {"MeatEnergyAndProtein", "meat", {paras("Method for the feed", "2", "1")}},
        {"MeatCrossBredWeights", "meat", {paras("Option for economic", "2", "1")}},
        {"MeatWeaned", "meat", {paras("Type of weaning", "2", "1")}},
        {"MeatOwnReplacement", "meat", {paras("Female replacement", "2", "1")}},
        {"MeatBreedingPerAnimal", "meat", {value("INPUTS10.TXT", "Animals sold for breeding are paid", "2", "1")}},
        {"ExtensiveBothColumns", "extensive", {paras("Option for economic", "1", "2")}},
        {"ExtensivePureBred", "extensive",
         {paras("Type of crossing", "2", "1"), paras("Option for economic", "1", "0")}},
    };
    return all;
}

}  // namespace testutil
