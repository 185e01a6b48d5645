// Entry error: a typed value that cannot be accepted.  what() is the
// message shown to the user.
#pragma once

#include <stdexcept>

namespace ramvex {

class EAssignError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace ramvex
