// Readers of the input files INPUTS01.TXT .. INPUTS14.TXT.  Each reads the
// records of its file from `in`, echoes them into the results file, checks
// them and stops the run at the first failing check.
#pragma once

struct Run;
struct InFile;

void readInputs01(Run& run, InFile& in);
void readInputs02(Run& run, InFile& in);
void readInputs03(Run& run, InFile& in);
void readInputs04(Run& run, InFile& in);
void readInputs05(Run& run, InFile& in);
void readInputs06(Run& run, InFile& in);
void readInputs07(Run& run, InFile& in);
void readInputs08(Run& run, InFile& in);
void readInputs09(Run& run, InFile& in);
void readInputs10(Run& run, InFile& in);
void readInputs11(Run& run, InFile& in);
void readInputs12(Run& run, InFile& in);
// Carcass-class files, read from the herd phases in the base evaluation.
void readInputs13(Run& run, InFile& in);
void readInputs14(Run& run, InFile& in);

// Values derived from the inputs alone: after INPUTS03.TXT (losses of
// cross-bred lambs), after INPUTS11.TXT (somatic cell scores of the class
// limits) and after INPUTS12.TXT (drying date, dressing-percentage ratios).
void deriveAfterInputs03(Run& run);
void deriveAfterInputs11(Run& run);
void deriveAfterInputs12(Run& run);

// Reads one input file as a section of the results file: the console line
// "Reading data from INPUTSnn.TXT", the section heading, the records, and
// three line breaks after them.
void readInputFile(Run& run, int fileNo, void (*reader)(Run&, InFile&));

// Reads INPUTS01.TXT .. INPUTS12.TXT in their order with the derived values.
void readAllInputs(Run& run);
