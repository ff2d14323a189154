#pragma once

// Blanks in texts the user typed or a package printed: one home for trimming
// and collapsing them. Spaces and tabs are blanks. Standard library only.

#include <string>
#include <string_view>

namespace marvane {

// The text without blanks at its ends.
std::string Trim(std::string_view text);

// Blanks trimmed and runs of blanks collapsed to one space
// ("  +1 std of Z   and  -1 std of V" -> "+1 std of Z and -1 std of V").
std::string CollapseBlanks(std::string_view text);

}  // namespace marvane
