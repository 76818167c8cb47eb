// The economic-weight loop on one or several threads.
//
// On one thread the loop runs as it is specified: step, evaluate, step, ...
//
// The slots (five evaluations of one trait column) are independent of each
// other given the base state: each starts from the base state, and its fifth
// evaluation, with the changed input restored exactly, brings the state back
// to it bit for bit (only the loop's own quantities differ).  Several
// threads can therefore evaluate different slots, the first on the driver's
// model, the others on copies of the base state.  Each thread claims the
// slots in increasing order and writes its console (warnings, an error
// stop) into a buffer of its own, with the place of every evaluation's
// output noted.  Afterwards the loop runs once more on the driver's model,
// as a replay: every step is taken (the console line of each slot, the
// changes and exact restores of the inputs and the scratch arrays they
// leave), but instead of an evaluation the console output of that
// evaluation is copied, and the weights come from the threads.  The
// console, the weights and the model state are then the same bytes as after
// a run on one thread.  An error stop in an evaluation ends the run with the
// console of the evaluations before it, as on one thread.
#include "driver/weights_run.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "driver/evaluate.h"
#include "context/run.h"
#include "economics/weights.h"
#include "model/model.h"

namespace {

// Where the console output of each of a slot's five evaluations lies in the
// buffer of the thread that ran it; stoppedAt is the evaluation that ended
// with an error stop (-1: none).
struct SlotRecord {
    int thread = -1;
    long begin[5] = {}, end[5] = {};
    int stoppedAt = -1;
};

struct Helper {
    Model* model = nullptr;
    ModelCopy copy;  // the model of a thread other than the first
    char* buf = nullptr;
    std::size_t len = 0;
    std::FILE* con = nullptr;

    Helper() = default;
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;
    ~Helper() {
        if (con) std::fclose(con);
        std::free(buf);
    }
};

struct Shared {
    void (*evaluate)(Run&);
    const int* starts;
    int n;
    std::vector<SlotRecord>& recs;
    std::atomic<int> next{0};
    std::atomic<int> firstStop;  // smallest slot with an error stop, n if none
};

void runSlots(Helper& h, int id, Shared& sh) {
    ::Run run(*h.model);
    run.con = h.con;
    for (;;) {
        const int i = sh.next.fetch_add(1);
        // Slots after one that stopped the run are never needed.
        if (i >= sh.n || i > sh.firstStop.load()) return;
        SlotRecord& r = sh.recs[std::size_t(i)];
        r.thread = id;
        Model& m = *h.model;
        m.zr = sh.starts[i];
        m.itrait = weights::traitAt(m.zr);
        int e = 0;
        try {
            for (; e < 5; ++e) {
                weights::step(run);
                std::fflush(run.con);
                r.begin[e] = std::ftell(run.con);
                sh.evaluate(run);
                std::fflush(run.con);
                r.end[e] = std::ftell(run.con);
            }
        } catch (const RunStopped&) {
            std::fflush(run.con);
            r.end[e] = std::ftell(run.con);
            r.stoppedAt = e;
            int cur = sh.firstStop.load();
            while (i < cur && !sh.firstStop.compare_exchange_weak(cur, i)) {
            }
            // This copy of the model is left in the middle of an evaluation.
            return;
        }
    }
}

void runSequential(Run& run, void (*evaluate)(Run&)) {
    weights::start(run);
    while (weights::step(run)) evaluate(run);
}

void writeSegment(std::FILE* con, const Helper& h, const SlotRecord& r, int e) {
    std::fwrite(h.buf + r.begin[e], 1, std::size_t(r.end[e] - r.begin[e]), con);
}

// After an error stop in the slot `stop`: the console of every evaluation
// up to the stop, with the line of each slot that reached its fourth
// evaluation, as on one thread; then the stop.
[[noreturn]] void stopAfter(Run& run, const int* starts, const std::vector<SlotRecord>& recs,
                            const std::vector<Helper>& helpers, int stop) {
    for (int i = 0; i <= stop; ++i) {
        const SlotRecord& r = recs[std::size_t(i)];
        const int last = r.stoppedAt >= 0 ? r.stoppedAt : 4;
        for (int e = 0; e <= last; ++e) {
            if (e == 3) weights::printLoopLine(run.con, starts[i] + 4);
            writeSegment(run.messages(), helpers[std::size_t(r.thread)], r, e);
        }
    }
    stopRun(run);
}

}  // namespace

void economicWeights(Run& run, void (*evaluate)(Run&)) {
    Model& m = run.m;
    int starts[weights::kMaxSlots];
    const int n = weights::plan(m, starts);
    const int threads = std::min({run.threads, kMaxThreads, n});
    if (threads <= 1) {
        runSequential(run, evaluate);
        return;
    }

    std::vector<SlotRecord> recs(static_cast<std::size_t>(n));
    std::vector<Helper> helpers(static_cast<std::size_t>(threads));
    for (std::size_t t = 0; t < helpers.size(); ++t) {
        Helper& h = helpers[t];
        h.con = open_memstream(&h.buf, &h.len);
        if (!h.con) {  // no memory for the consoles: the loop runs on one thread
            helpers.clear();
            runSequential(run, evaluate);
            return;
        }
    }

    weights::start(run);
    std::fflush(run.con);
    for (std::size_t t = 0; t < helpers.size(); ++t) {
        Helper& h = helpers[t];
        if (t > 0) h.copy = copyModel(m);
        h.model = t == 0 ? &m : h.copy.get();
    }
    Shared sh{evaluate, starts, n, recs, {0}, {n}};
    {
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t) pool.emplace_back(runSlots, std::ref(helpers[std::size_t(t)]), t, std::ref(sh));
        runSlots(helpers[0], 0, sh);
        for (std::thread& th : pool) th.join();
    }
    for (Helper& h : helpers) std::fflush(h.con);
    if (sh.firstStop < n) stopAfter(run, starts, recs, helpers, sh.firstStop);

    for (int i = 0; i < n; ++i)
        weights::copySlotWeights(*helpers[std::size_t(recs[std::size_t(i)].thread)].model, m, starts[i]);

    // Replay of the loop on the driver's model, from the state after the
    // loop's start (the first thread's slots have moved its counters).
    m.zr = 1;
    m.itrait = 1;
    int slot = 0, e = 0;
    while (weights::step(run, false)) {
        const SlotRecord& r = recs[std::size_t(slot)];
        writeSegment(run.messages(), helpers[std::size_t(r.thread)], r, e);
        if (++e == 5) {
            e = 0;
            ++slot;
        }
    }
}
