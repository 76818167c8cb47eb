// The economic-weight loop: numerical differentiation of the profit with
// respect to 35 traits.
//
// Every trait column is a slot of five consecutive values of the evaluation
// counter zr (s .. s+4, s = 1, 6, ..., 251).  After each evaluation of the
// model the step records the profit (and the trait values the model
// computes), changes the input for the next evaluation and advances zr:
// +1 % and -1 % give ev0, +0.5 % and -0.5 % give ev, and the fifth
// evaluation runs with the input restored exactly.  Skip rules leave out the
// slots of traits that do not act on the profit in the modelled system.
#pragma once

#include <cstdio>

struct Model;
struct Run;

namespace weights {

// The value of zr that ends the loop.
inline constexpr int kEnd = 256;
// At most 51 slots are evaluated.
inline constexpr int kMaxSlots = 51;

// Starts the loop after the base evaluation: prints its console line,
// clears the weight arrays, keeps the base profit as Tprofm and sets itrait
// to 1.  Then
//     while (step(run)) evaluate the model;
// runs the loop.
void start(Run& run);

// One step: records the results of the evaluation just finished (none
// before the first), sets the changed input for the next evaluation and
// advances zr; returns true to ask for that evaluation.  At zr = 256 it forms
// evp, evdiff and the combined column and returns false.  With record false
// the step does everything but write ev and ev0: the loop is then replayed
// over weights computed elsewhere, slot by slot on copies of the base state.
bool step(Run& run, bool record = true);

// The first zr of each slot that the skip rules leave, in order, for the
// model state m after the base evaluation.  Returns their number.
int plan(const Model& m, int* starts);

// The trait number (itrait) of the slot that starts at zr = s.  A slot runs
// on its own from the base state with zr = s and itrait set: five times a
// step followed by an evaluation, the last one with the input restored.
int traitAt(int s);

// The console line written when the fourth evaluation of the slot that
// ends at zr is asked for.
void printLoopLine(std::FILE* con, int zr);

// The divisor that turns the weight ev of row t into the reported weight
// evp: the unit of the report is a multiple of the unit the trait is
// modelled in (g per day for a gain in kg per day, 0.01 class, ...).
double reportDivisor(int t);

// Whether the weight of row t (1 .. 35) in column k (1 pure-bred, 2
// cross-bred) comes from an evaluated slot: false where the skip rules left
// the slot out or the trait has no slot in that column.  For the model
// state after the base evaluation (or after the loop, which restores it).
bool evaluated(const Model& m, int t, int k);

// Whether the production system has trait t (1 .. 35) at all: the results
// file prints a row for it, and the CSV and JSON give it a weight in every
// column, 0 where the loop does not evaluate it (a skip rule, or no slot in
// that column: the trait does not act on the profit there).  A trait the
// system lacks (the weaning traits with artificial rearing, the milk traits
// of a breed that is not milked, the classes of a price system that does
// not pay by them, ...) has no row in the results file.  Decided by the
// system variables and the price systems alone, so that every column and
// every output agrees.
bool inSystem(const Model& m, int t);

// Copies the weights of the slot that starts at zr = s from one model state
// to another.
void copySlotWeights(const Model& from, Model& to, int s);

}  // namespace weights
