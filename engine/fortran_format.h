// Fixed-width output fields as a Fortran formatted WRITE produces them.
//
// Every number in the report, the run notes, the plot-data file and the
// intermediate files goes through these functions, so the edit descriptors
// of the whole engine live in one place and can be checked against a Fortran
// compiler's output.  A value that does not fit its field prints as w
// asterisks, as Fortran does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ramvex::fmt {

// Iw and Iw.m: right-justified integer, at least m digits.
std::string I(long long value, int w, int m = -1);
// Fw.d: fixed point with d decimals.
std::string F(double value, int w, int d);
// Ew.d: 0.ddddE+xx (scale factor 0).
std::string E(double value, int w, int d);
// 1PEw.d: d.dddE+xx (scale factor 1).
std::string PE(double value, int w, int d);
// Dw.d: as Ew.d with the exponent letter D.
std::string D(double value, int w, int d);
// Aw: text cut or padded on the left to w characters.
std::string A(std::string_view text, int w);
// Lw: T or F right-justified.
std::string L(bool value, int w);
// List-directed (free format) output of a real, as a Fortran
// "WRITE(u,*)" item: used where the layout is free.
std::string freeReal(double value);
std::string freeInt(long long value);

// One output record built field by field, left to right.
class Record {
 public:
  Record& X(int n) { text_.append(static_cast<size_t>(n > 0 ? n : 0), ' '); return *this; }
  Record& lit(std::string_view s) { text_.append(s); return *this; }
  Record& I(long long v, int w, int m = -1) { text_ += fmt::I(v, w, m); return *this; }
  Record& F(double v, int w, int d) { text_ += fmt::F(v, w, d); return *this; }
  Record& E(double v, int w, int d) { text_ += fmt::E(v, w, d); return *this; }
  Record& PE(double v, int w, int d) { text_ += fmt::PE(v, w, d); return *this; }
  Record& D(double v, int w, int d) { text_ += fmt::D(v, w, d); return *this; }
  Record& A(std::string_view s, int w) { text_ += fmt::A(s, w); return *this; }
  Record& L(bool v, int w) { text_ += fmt::L(v, w); return *this; }
  const std::string& str() const { return text_; }
  operator std::string_view() const { return text_; }

 private:
  std::string text_;
};

}  // namespace ramvex::fmt
