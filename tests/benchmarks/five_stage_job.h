// The heaviest job the benchmarks run: five stages at 300 increments, each
// with a user earth-pressure table, 30 user p-y curves along the embedded
// part and two tiebacks, written as the program writes a staged data file.
#pragma once

#include <sstream>
#include <string>

namespace ramvex::bench {

// One stage of the job; the excavation deepens with freeHeight.
inline std::string FiveStageJobStage(int number, int stages, double freeHeight) {
  const int n = 300;
  const double h = 2.0;
  std::ostringstream s;
  s << (number == 1 ? std::string("FIVE-STAGE EXCAVATION") : " Stage No : " + std::to_string(number)) << "\r\n";
  s << "1 0 1 0 1 1 30 " << stages << " 0 2\r\n";
  s << n << " " << h << " 20 0.0001 " << freeHeight << " 12\r\n";
  s << "0 300 1 5.336E9\r\n0\r\n0\r\n";
  s << "4 1.5 29000000 20 15 8 20000\r\n";
  s << "8 1.5 29000000 20 15 8 20000\r\n";
  s << "3\r\n0 0\r\n" << freeHeight << " 50\r\n600 50\r\n";
  const int first = static_cast<int>(freeHeight / h);
  for (int k = 0; k < 30; ++k) {
    const int station = first + (n - first) * k / 29;
    const double pu = 20.0 + 10.0 * (station - first);
    s << station << " 5 1 1\r\n-3 " << pu << "\r\n-0.3 " << pu << "\r\n0 0\r\n0.3 " << -pu << "\r\n3 " << -pu
      << "\r\n";
  }
  s << number << "\r\n";
  return s.str();
}

}  // namespace ramvex::bench
