// Kept day runs: the sums that a loop over the days of an animal's stay
// added up, kept per thread with everything the loop read.
//
// A day loop adds, day by day, terms that follow from a growth line, the
// calendar of feeding seasons and a few constants into bins by season.
// Started from empty bins and given the same inputs, it adds the same
// values in the same order: its sums are the same in every bit.  Most
// evaluations of the economic-weight loop change no growth, so a loop that
// starts from empty bins is kept with its inputs (a Key with every byte
// set, compared as bytes) and its sums, and a loop with the same inputs
// takes them instead of adding the days up again.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "model/kept_values.h"
#include "model/large_pages.h"
#include "model/model.h"

// Whether day runs are kept at all (keepDayRuns of phases.h, for the tests).
inline std::atomic<bool> keptRunsOn{true};

template <class Key, class Sums, int Sets> class KeptRuns {
    static_assert(std::is_trivially_copyable_v<Key>);

public:
    // The table of the calling thread (in its large page) for the calendar
    // of m: the runs kept for another calendar are dropped.
    static KeptRuns& of(const Model& m) {
        thread_local KeptRuns* table = nullptr;
        if (!table) table = new (threadPageBytes(sizeof(KeptRuns))) KeptRuns;
        if (std::memcmp(table->calendar_, m.calendarKey, sizeof table->calendar_) != 0) {
            std::memcpy(table->calendar_, m.calendarKey, sizeof table->calendar_);
            for (auto& set : table->runs_)
                for (Run& r : set) r.uses = 0;
        }
        return *table;
    }

    // The sums kept for the inputs k, or nullptr; then keep() keeps the
    // sums of the loop with these inputs.  A run is looked for among the
    // two places of its set; a new run takes the place whose run was used
    // fewer times, so that the runs of the base evaluation, used again in
    // every evaluation, stay, and those of a changed trait make room for
    // each other.
    const Sums* find(const Key& k) {
        Run* set = runs_[(hashBytes(k) >> 32) % Sets];
        for (int w = 0; w < 2; ++w)
            if (set[w].uses > 0 && std::memcmp(&set[w].key, &k, sizeof k) == 0) {
                ++set[w].uses;
                return &set[w].sums;
            }
        place_ = set[0].uses <= set[1].uses ? &set[0] : &set[1];
        place_->key = k;
        place_->uses = 0;
        return nullptr;
    }

    // The sums of the run that the last find() did not find.
    Sums& keep() {
        place_->uses = 1;
        return place_->sums;
    }

private:
    struct Run {
        Key key;
        Sums sums;
        int uses = 0;  // 0 for a free place
    };
    int calendar_[sizeof(Model::calendarKey) / sizeof(int)] = {};
    Run runs_[Sets][2];
    Run* place_ = nullptr;
};

// A key with every byte zero, to be filled field by field.
template <class Key> Key zeroedKey() {
    Key k;
    std::memset(&k, 0, sizeof k);
    return k;
}

// Whether x is +0 in every bit.
inline bool zeroBits(Real x) {
    const RealStored v = stored(x);
    return allZeroBytes(&v, sizeof v);
}
