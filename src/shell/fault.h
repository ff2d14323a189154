#pragma once

#include <string>
#include <utility>

namespace marvane {

// Why a Compute step stopped. Every kind ends the running handler where it
// occurs; captions and visibility written before it stay as they are.
enum class FaultKind {
  Overflow,          // a result or a typed number beyond the range of a double (or single)
  DivisionByZero,    // a finite non-zero number divided by zero
  InvalidOperation,  // 0/0 and the like: no number at all
  TypeMismatch,      // a text that a strict conversion does not accept as a number
  MissingElement,    // a control-array index the form does not have
};

// Thrown by the checked operations and the strict readers. `where` names the
// place in words ("the weight of X", "row 2"); it is filled in by whoever
// knows it, usually the form binding.
struct Fault {
  FaultKind kind;
  std::string where;

  Fault(FaultKind k, std::string w = {}) : kind(k), where(std::move(w)) {}
};

// Plain words for a fault kind, for messages shown to the user.
const char* DescribeFaultKind(FaultKind kind);

}  // namespace marvane
