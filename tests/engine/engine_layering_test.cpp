// The engine's routine families depend on each other one way only: a unit
// (a header with its source file) never reaches itself through the units it
// includes.  A circle would let the soil models and the curve dispatch, say,
// grow into one block that cannot be understood or tested in parts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace ramvex::testing {
namespace {

using Graph = std::map<std::string, std::set<std::string>>;

Graph engineIncludes() {
  const std::filesystem::path engine = std::filesystem::path(RAMVEX_SOURCE_DIR) / "engine";
  const std::regex include(R"re(^\s*#\s*include\s+"([^"]+)\.h")re");
  Graph graph;
  for (const auto& entry : std::filesystem::directory_iterator(engine)) {
    const std::filesystem::path& path = entry.path();
    if (path.extension() != ".h" && path.extension() != ".cpp") continue;
    const std::string unit = path.stem().string();
    graph[unit];
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
      std::smatch m;
      if (std::regex_search(line, m, include) && m[1] != unit) graph[unit].insert(m[1]);
    }
  }
  return graph;
}

// The first circle found, as the units along it; empty when there is none.
std::vector<std::string> findCircle(const Graph& graph) {
  std::map<std::string, int> state;  // 1 on the path, 2 done
  std::vector<std::string> path, circle;
  std::function<bool(const std::string&)> visit = [&](const std::string& unit) {
    state[unit] = 1;
    path.push_back(unit);
    const auto it = graph.find(unit);
    if (it != graph.end()) {
      for (const std::string& next : it->second) {
        if (state[next] == 1) {
          circle.assign(std::find(path.begin(), path.end(), next), path.end());
          circle.push_back(next);
          return true;
        }
        if (state[next] == 0 && visit(next)) return true;
      }
    }
    path.pop_back();
    state[unit] = 2;
    return false;
  };
  for (const auto& [unit, includes] : graph)
    if (state[unit] == 0 && visit(unit)) break;
  return circle;
}

TEST(EngineLayering, NoUnitReachesItselfThroughItsIncludes) {
  const Graph graph = engineIncludes();
  ASSERT_GT(graph.size(), 20u);
  const std::vector<std::string> circle = findCircle(graph);
  std::string text;
  for (const std::string& unit : circle) text += (text.empty() ? "" : " -> ") + unit;
  EXPECT_TRUE(circle.empty()) << text;
}

TEST(EngineLayering, SoilModelsBuildOnTheSharedStepsNotOnTheDispatch) {
  const Graph graph = engineIncludes();
  for (const char* model : {"py_soft_clay", "py_stiff_clay_free_water", "py_stiff_clay_dry", "py_sand", "py_silt",
                            "py_rock"}) {
    ASSERT_TRUE(graph.count(model)) << model;
    EXPECT_FALSE(graph.at(model).count("py_generation")) << model;
    EXPECT_TRUE(graph.at("py_generation").count(model)) << model;
  }
  EXPECT_FALSE(graph.at("py_model_support").count("py_generation"));
}

}  // namespace
}  // namespace ramvex::testing
