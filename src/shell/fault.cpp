#include "shell/fault.h"

namespace marvane {

const char* DescribeFaultKind(FaultKind kind) {
  switch (kind) {
    case FaultKind::Overflow: return "an overflow (a number grew beyond the range the program can hold)";
    case FaultKind::DivisionByZero: return "a division by zero";
    case FaultKind::InvalidOperation: return "an invalid operation (a result that is no number, such as 0/0)";
    case FaultKind::TypeMismatch: return "a text that is not a number";
    case FaultKind::MissingElement: return "a row the form does not have";
  }
  return "an unknown fault";
}

}  // namespace marvane
