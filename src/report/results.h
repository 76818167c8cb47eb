// Chapter 3 of the results file: the flock, growth, milk, feed, costs,
// revenues and totals of the base evaluation, and the economic weights.
//
// The words of the chapter (titles, labels, units, column headings) are the
// text fragments of TEXTS_OUT.TXT, which the writer copies or skips one by
// one in a fixed order; the program writes only the numbers and the section
// numbers between them.  Every fragment that belongs to a row that is not
// printed is skipped, so the sequence stays aligned for every production
// system and exactly the closing fragment is left when the chapter ends.
#pragma once

struct Run;

// Writes sections 3.1 to 3.14 to the results file.  The model state holds
// the base values again (the state after the weights loop); only the
// weights evp come from the loop.
void writeResults(Run& run);
