// What the runner writes from a finished run beyond the engine's own files:
// the summary on standard output, the CSV results and the calculation
// report.  Built with the program's result libraries; a build without them
// offers none of these options.
#pragma once

#include <filesystem>
#include <string>

namespace ramvex::run {

struct TRunFiles {
  std::filesystem::path Data;    // the user's data file
  std::filesystem::path Report;  // .rv5o
  std::filesystem::path Plot;    // .rv5p
  std::filesystem::path Notes;   // .rv5r
  // The runner's private folder: a copy of the data file is opened there,
  // because opening a staged project writes stage files beside it.
  std::filesystem::path Work;
};

struct TRunOptions {
  bool Summary = false;
  bool Csv = false;
  std::filesystem::path Pdf;  // empty: no calculation report
  bool Any() const { return Summary || Csv || !Pdf.empty(); }
};

// Whether this build can write the summary, CSV files and PDF.
bool ResultsAvailable();

// Writes what the options ask for; false (with a message on standard
// error) when something asked for cannot be written.
bool WriteResults(const TRunFiles& files, const TRunOptions& options, int argc, char** argv);

}  // namespace ramvex::run
