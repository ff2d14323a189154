#pragma once

// Blanks in texts the user typed or a package printed: one home for trimming
// and collapsing them, and for joining texts. Spaces and tabs are blanks.
// Standard library only.

#include <string>
#include <string_view>
#include <vector>

namespace marvane {

// The text without blanks at its ends.
std::string Trim(std::string_view text);

// Blanks trimmed and runs of blanks collapsed to one space
// ("  +1 std of Z   and  -1 std of V" -> "+1 std of Z and -1 std of V").
std::string CollapseBlanks(std::string_view text);

// The parts one after another with `between` between each two
// (Join({"a", "b"}, ", ") is "a, b").
std::string Join(const std::vector<std::string>& parts, std::string_view between);

}  // namespace marvane
