// The calculation report of the staged example, read back with pdftotext:
// the title, every section, every problem's values and graphs, the page
// frame.  Set RAMVEX_REPORT_PDF to a file name to keep the PDF for a look.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "CalcReport.h"
#include "ProgramData.h"
#include "ResultGraphs.h"
#include "golden.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(RAMVEX_SOURCE_DIR) / "examples";

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Text of a PDF as pdftotext reads it.
std::string PdfText(const fs::path& pdf) {
  const fs::path txt = fs::path(pdf).replace_extension(".txt");
  const std::string command = std::string(RAMVEX_PDFTOTEXT) + " -layout '" + pdf.string() + "' '" + txt.string() + "'";
  const int status = std::system(command.c_str());
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  return test::readTextFile(txt);
}

// A project's run outputs turned into the report's input, as the runner
// does it.
struct ReportFixture : test::ScratchDirTest {
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData project{*tables};
  TResultGraphs graphs;
  TResultsSummary summary;
  TCalcReportInput input;

  void Load(const std::string& name, const fs::path& report, const fs::path& plot) {
    fs::copy_file(kExamples / (name + ".rv5d"), scratch_.path() / (name + ".rv5d"));
    project.OpenProject(scratch_.path() / (name + ".rv5d"));
    graphs.ReadPlotFile(plot, project);
    summary = SummarizeRun(project, graphs, report);
    input = MakeReportInput(project, graphs, summary, plot);
    EXPECT_EQ(input.FileName, name + ".rv5d");
  }

  void LoadExample(const std::string& name) {
    Load(name, kExamples / "golden" / (name + ".rv5o"), kExamples / "golden" / (name + ".rv5p"));
  }

  std::string Write() {
    const fs::path pdf = scratch_.path() / "report.pdf";
    std::string error;
    EXPECT_TRUE(WriteCalcReport(pdf, input, error)) << error;
    if (const char* keep = std::getenv("RAMVEX_REPORT_PDF")) fs::copy_file(pdf, keep, fs::copy_options::overwrite_existing);
    return PdfText(pdf);
  }
};

TEST_F(ReportFixture, StagedExampleHasEverySectionValueAndPage) {
  if (std::string(RAMVEX_PDFTOTEXT).empty()) GTEST_SKIP() << "pdftotext is not installed";
  LoadExample("three_stages");
  const std::string text = Write();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.find("Calculation Report"), std::string::npos);
  EXPECT_NE(text.find("Three-stage excavation with a tieback placed in stage 2"), std::string::npos);
  EXPECT_NE(text.find(ProgramVersion()), std::string::npos);
  for (const char* section : kReportSections) EXPECT_NE(text.find(section), std::string::npos) << section;
  for (const char* table : {"Wall and Analysis", "Options", "Wall Stiffness", "Distributed Loads",
                            "Sets of Ext. p-y Curves", "Tieback (ground anchor) Table"})
    EXPECT_NE(text.find(table), std::string::npos) << table;
  ASSERT_EQ(summary.Problems.size(), 3u);
  for (const TProblemSummary& p : summary.Problems) {
    SCOPED_TRACE(p.Name);
    EXPECT_NE(text.find("Results: " + p.Name), std::string::npos);
    EXPECT_NE(text.find("Soil Profile, " + p.Name), std::string::npos);
    for (const TExtreme* e : {&p.Deflection, &p.Moment, &p.Shear})
      EXPECT_NE(text.find(NumberText(e->Value)), std::string::npos) << NumberText(e->Value);
    for (const TTiebackForce& t : p.Tiebacks) EXPECT_NE(text.find(NumberText(t.Force)), std::string::npos);
  }
  // Each stage's own input, and the tables left at the stage they were at.
  ASSERT_EQ(input.Stages.size(), 3u);
  EXPECT_EQ(project.CurrentStage, 1);
  const std::vector<std::string> freeHeights = {"96", "144", "180"};
  for (size_t k = 0; k < 3; ++k) {
    const TEchoTable& wall = input.Stages[k].Tables.at(0);
    ASSERT_EQ(wall.Rows.at(3).at(0), "Free height of wall");
    EXPECT_EQ(wall.Rows[3][1], freeHeights[k]) << k;
  }
  // Every problem has its graphs, captioned with their units.
  for (const char* caption : {"Deflection (in)", "Bending Moment (in-kips)", "Shear (kips)", "Reaction (lbs)"})
    EXPECT_EQ(Count(text, caption), 3) << caption;
  // Every page names the file, the date and its number.
  const int pages = Count(text, "Page ");
  ASSERT_GT(pages, 10);
  for (int k = 1; k <= pages; ++k)
    EXPECT_NE(text.find("Page " + std::to_string(k) + " of " + std::to_string(pages)), std::string::npos) << k;
  EXPECT_EQ(Count(text, "three_stages.rv5d"), pages + 1);  // every footer and the title block
  EXPECT_EQ(Count(text, input.Date), pages + 1);
}

TEST_F(ReportFixture, AnErrorStopIsReportedWithTheEnginesMessage) {
  if (std::string(RAMVEX_PDFTOTEXT).empty()) GTEST_SKIP() << "pdftotext is not installed";
  // Stage 2 stopped on its input: stage 1's results and stage 2's message.
  std::string report = test::readTextFile(kExamples / "golden" / "three_stages.rv5o");
  report = report.substr(0, report.find("STIFFNESS AND LOAD DATA", report.find("Stage No : 2")));
  report += "\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n\n\n\n     END OF ANALYSIS\n";
  std::ofstream(scratch_.path() / "stopped.rv5o") << report;
  Load("three_stages", scratch_.path() / "stopped.rv5o", kExamples / "golden" / "three_stages.rv5p");
  const std::string text = Write();
  EXPECT_NE(text.find("Results: Stage 2"), std::string::npos);
  EXPECT_GE(Count(text, "ERROR STOP -- STATIONS NOT IN ORDER"), 2);  // its section and the messages
  EXPECT_EQ(Count(text, "Bending Moment (in-kips)"), 1);
}

TEST_F(ReportFixture, AFileThatCannotBeWrittenIsAnError) {
  LoadExample("cantilever");
  std::string error;
  EXPECT_FALSE(WriteCalcReport(scratch_.path() / "no-such-folder" / "report.pdf", input, error));
  EXPECT_NE(error.find("no-such-folder"), std::string::npos) << error;
}

}  // namespace
}  // namespace ramvex
