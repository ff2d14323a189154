#include "models/form_weights.h"

#include "models/incomplete.h"
#include "models/mixed2.h"
#include "models/mixed3.h"
#include "models/quant.h"
#include "models/quant3.h"
#include "models/quantz.h"

namespace marvane {

Probe BlankProbe(std::string_view form, std::size_t held) {
  // Each form's probe of zero inputs states its weights as a Compute would.
  if (form == "Quant") return QuantProbe({});
  if (form == "QuantZ") return QuantZProbe({});
  if (form == "Mixed2") return Mixed2Probe({});
  if (form == "Mixed3") return Mixed3Probe({});
  if (form == "Quant3") return Quant3Probe({});
  if (form == "Incomplete") return IncompleteProbe(0, std::vector<HeldTerm>(held), {});
  return {};
}

}  // namespace marvane
