// The feeding and cost phases of one model evaluation.
#pragma once

struct Run;

// Feed and water costs of every animal state: sets up the calendar, the
// sex constants, the litter birth weights and the daily wool rates, then
// costs rams and ewes, then lambs and young stock.
void nutritionCosts(Run& run);

// Feed and water costs of every ram state and breed group and of every ewe
// state, multiplied by the average number of animals in the state.
void feedCostsRamsEwes(Run& run);

// Feed and water costs of every progeny state and breed group, multiplied
// by the average number of animals in the state.
void feedCostsLambs(Run& run);

// The feeding groups first .. last in which progeny state i is fed (lambs
// until weaning in group 1, artificially reared lambs in group 2, young
// breeding stock in groups 3 to 5, each fattening variant in a group of its
// own; first > last for a state that is not fed).  The requirement, feed
// and water tables of the state hold values in these groups only.
struct FeedingGroups {
    int first, last;
};
FeedingGroups progenyGroups(int i);

// Whether the day runs of animals that recur unchanged from one evaluation
// to the next take the sums kept from before (the default) or are added up
// again; the results are the same.  For the tests.
void keepDayRuns(bool on);

// Veterinary, labour, shearing, fixed, bedding, breeding, marketing and
// death costs, manure, wool and skin revenues of progeny, and the cost
// totals of every ewe, ram and progeny state.
void nonFeedCosts(Run& run);
