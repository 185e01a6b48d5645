// A drawing surface that records what the scene emits, with every vertex
// carried through the transform in force, so tests read world coordinates.
#pragma once

#include <array>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "SceneSurface.h"
#include "SceneSymbols.h"
#include "View3dState.h"

namespace ramvex::test {

struct TRecordedPrimitive {
  TPrimitive Kind = TPrimitive::Lines;
  std::array<double, 4> Rgba{};
  bool Blend = false;
  std::vector<TVec3> Vertices;
};

struct TBounds {
  TVec3 Min{1e300, 1e300, 1e300}, Max{-1e300, -1e300, -1e300};
  void Add(const TVec3& p) {
    Min = {std::min(Min.x, p.x), std::min(Min.y, p.y), std::min(Min.z, p.z)};
    Max = {std::max(Max.x, p.x), std::max(Max.y, p.y), std::max(Max.z, p.z)};
  }
};

class TRecordingSurface : public TSceneSurface {
 public:
  std::vector<TRecordedPrimitive> Primitives;
  std::vector<std::pair<TVec3, std::string>> Texts;
  std::map<int, std::vector<TRecordedPrimitive>> Lists;

  void Begin(TPrimitive p) override {
    if (open_) throw std::logic_error("Begin inside Begin");
    open_ = true;
    current_ = {p, rgba_, blend_, {}};
  }
  void End() override {
    if (!open_) throw std::logic_error("End without Begin");
    open_ = false;
    Primitives.push_back(current_);
  }
  void Vertex(double x, double y, double z) override {
    if (!open_) throw std::logic_error("Vertex outside Begin");
    current_.Vertices.push_back(Apply({x, y, z}));
  }
  void Color(double r, double g, double b, double a) override { rgba_ = {r, g, b, a}; }
  void Translate(double x, double y, double z) override {
    Post({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1});
  }
  void Rotate(double degrees, double x, double y, double z) override {
    const double n = std::sqrt(x * x + y * y + z * z);
    x /= n, y /= n, z /= n;
    const double a = degrees * 3.14159265358979323846 / 180, c = std::cos(a), s = std::sin(a), k = 1 - c;
    Post({x * x * k + c, y * x * k + z * s, x * z * k - y * s, 0, x * y * k - z * s, y * y * k + c, y * z * k + x * s,
          0, x * z * k + y * s, y * z * k - x * s, z * z * k + c, 0, 0, 0, 0, 1});
  }
  void Scale(double x, double y, double z) override { Post({x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}); }
  void PushMatrix() override { stack_.push_back(m_); }
  void PopMatrix() override {
    if (stack_.empty()) throw std::logic_error("PopMatrix on an empty stack");
    m_ = stack_.back();
    stack_.pop_back();
  }
  void Enable(TCapability c) override {
    if (c == TCapability::Blend) blend_ = true;
  }
  void Disable(TCapability c) override {
    if (c == TCapability::Blend) blend_ = false;
  }
  void NewList(int list) override {
    listStart_ = Primitives.size();
    list_ = list;
  }
  void EndList() override {
    Lists[list_].assign(Primitives.begin() + static_cast<long>(listStart_), Primitives.end());
    Primitives.resize(listStart_);
  }
  void CallList(int list) override {
    for (const auto& p : Lists[list]) Primitives.push_back(p);
  }
  void Text(double x, double y, double z, std::string_view text) override {
    Texts.emplace_back(Apply({x, y, z}), std::string(text));
  }

  // The transform is back where it started and no primitive is open.
  bool Balanced() const {
    return !open_ && stack_.empty() && m_ == Identity() && !blend_;
  }

  // Primitives of a kind in a colour (alpha included), within 1e-9.
  std::vector<const TRecordedPrimitive*> Find(TPrimitive kind, std::array<double, 4> rgba) const {
    std::vector<const TRecordedPrimitive*> r;
    for (const auto& p : Primitives) {
      bool same = p.Kind == kind;
      for (int i = 0; i < 4 && same; ++i) same = std::abs(p.Rgba[static_cast<size_t>(i)] - rgba[static_cast<size_t>(i)]) < 1e-9;
      if (same) r.push_back(&p);
    }
    return r;
  }

 private:
  static TMatrix4 Identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }
  void Post(const TMatrix4& b) {
    TMatrix4 r{};
    for (int c = 0; c < 4; ++c)
      for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) r[static_cast<size_t>(c * 4 + row)] += m_[static_cast<size_t>(k * 4 + row)] * b[static_cast<size_t>(c * 4 + k)];
    m_ = r;
  }
  TVec3 Apply(TVec3 p) const {
    return {m_[0] * p.x + m_[4] * p.y + m_[8] * p.z + m_[12], m_[1] * p.x + m_[5] * p.y + m_[9] * p.z + m_[13],
            m_[2] * p.x + m_[6] * p.y + m_[10] * p.z + m_[14]};
  }

  TMatrix4 m_ = Identity();
  std::vector<TMatrix4> stack_;
  std::array<double, 4> rgba_{0, 0, 0, 1};
  bool blend_ = false;
  bool open_ = false;
  TRecordedPrimitive current_;
  size_t listStart_ = 0;
  int list_ = 0;
};

// Solid boxes come as six fans each: the bounds of every box of a colour,
// in drawing order.
inline std::vector<TBounds> SolidBoxes(const TRecordingSurface& s, std::array<double, 4> rgba) {
  const auto fans = s.Find(TPrimitive::TriangleFan, rgba);
  std::vector<TBounds> boxes;
  for (size_t i = 0; i + 6 <= fans.size(); i += 6) {
    TBounds b;
    for (size_t f = i; f < i + 6; ++f)
      for (const TVec3& v : fans[f]->Vertices) b.Add(v);
    boxes.push_back(b);
  }
  return boxes;
}

}  // namespace ramvex::test
