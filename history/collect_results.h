// The results files of the history view: the names given, folders
// expanded, each file read.
#pragma once
#include <string>
#include <vector>

#include "history/results_file.h"

namespace history {

// The files that the arguments name: a file as it is, a folder as its
// regular files whose names end in ".json" (any case; names that begin
// with "." passed over), in name order. A name that does not exist or a
// folder that cannot be read gives an entry with its reason.
std::vector<ResultsFile> list_results_files(const std::vector<std::string>& inputs);

// Reads every file of the list without a reason yet (on up to threads
// threads, each with one buffer for all its files) and sets its values or
// the reason why it cannot be used. A file larger than 64 MB is no results
// file.
void read_results_files(std::vector<ResultsFile>& files, unsigned threads);

}  // namespace history
