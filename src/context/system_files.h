// The files of a working directory that a run reads, by the names it opens
// them with: the system variables, the fourteen input files (a system reads
// those it needs) and the texts of the results file.
#pragma once

inline constexpr const char* kSystemFiles[] = {
    "PARAS.TXT",    "INPUTS01.TXT", "INPUTS02.TXT", "INPUTS03.TXT", "INPUTS04.TXT", "INPUTS05.TXT",
    "INPUTS06.TXT", "INPUTS07.TXT", "INPUTS08.TXT", "INPUTS09.TXT", "INPUTS10.TXT", "INPUTS11.TXT",
    "INPUTS12.TXT", "INPUTS13.TXT", "INPUTS14.TXT", "TEXTS_OUT.TXT"};
