// The herd phases of one model evaluation.
#pragma once

struct Run;

// Constants fixed once per run from the inputs as read: age at weaning,
// ratios of dependent traits to their reference traits, the reference
// fattening variants.  Runs before the evaluation re-entry point.
void growthConstants(Run& run);

// First step of every evaluation (the re-entry point): rebuilds the
// dependent dressing percentages, fleece weights and conception rates from
// the (possibly changed) reference traits, and the class means of culled
// sheep.
void rebuildAtReentry(Run& run);

// Markov chain of the ewe flock and its stationary composition.
void eweFlock(Run& run);

// Markov chain of the rams and its stationary composition.
void ramPopulation(Run& run);

// Numbers of lambs born, alive at 24 hours, weaned and artificially reared
// per ewe and cycle.
void progenyUntilWeaning(Run& run);
