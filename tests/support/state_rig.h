// Test support: a zero-filled model state whose console and print file are
// captured in strings, and the message of an error stop.
#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "model/error_stop.h"
#include "model/state.h"

namespace coastra::test {

struct StateRig {
  std::unique_ptr<ModelState> owner = make_state();
  ModelState& m = *owner;
  std::ostringstream con;  // console text
  std::ostringstream prt;  // print-file text
  StateRig() {
    m.CON = &con;
    m.PRT = &prt;
  }
};

// The message of the error stop that f() makes, or "(no stop)".
template <class F>
std::string stop_message(F&& f) {
  try {
    f();
  } catch (const ErrorStop& e) {
    return e.message;
  }
  return "(no stop)";
}

}  // namespace coastra::test
