#include "models/form_weights.h"

#include "models/incomplete.h"
#include "models/mixed2.h"
#include "models/mixed3.h"
#include "models/quant.h"
#include "models/quant3.h"
#include "models/quantz.h"

namespace marvane {

std::vector<ModelWeight> FormWeights(std::string_view form, std::size_t held) {
  // Each form's probe of zero inputs states its weights as a Compute would.
  if (form == "Quant") return QuantProbe({}).weights;
  if (form == "QuantZ") return QuantZProbe({}).weights;
  if (form == "Mixed2") return Mixed2Probe({}).weights;
  if (form == "Mixed3") return Mixed3Probe({}).weights;
  if (form == "Quant3") return Quant3Probe({}).weights;
  if (form == "Incomplete") return IncompleteProbe(0, std::vector<HeldTerm>(held), {}).weights;
  return {};
}

}  // namespace marvane
