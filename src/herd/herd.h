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

// Weights, gains and ages of every progeny category, and the weight-based
// mating of young breeding animals.
void growth(Run& run);

// Replacement, surplus progeny, sire use, the numbers in every progeny
// category, the carcass classes (carcassClasses) and the weights and ages of
// ewes and rams by cycle.
void progenyAfterWeaning(Run& run);

// Carcass-class pricing of slaughtered progeny: reads INPUTS13.TXT and
// INPUTS14.TXT in the base evaluation (where the progeny they describe
// exist), then forms the class means, clears the weights and prices of
// empty categories and rebuilds the dressing percentages of the fattening
// variants.  Called by progenyAfterWeaning.
void carcassClasses(Run& run);

// Milk suckled and marketed, cheese, wool per ewe and ram.
void milkProduction(Run& run);

// Days spent in every ewe, ram and progeny state and the discount factors.
// Runs at the end of the milk-production phase.
void stayDurations(Run& run);
