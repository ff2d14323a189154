#include "shell/words.h"

namespace marvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string CollapseBlanks(std::string_view text) {
  std::string out;
  bool blank = false;
  for (char ch : text) {
    if (IsBlank(ch)) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += ch;
  }
  return out;
}

std::string Join(const std::vector<std::string>& parts, std::string_view between) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += between;
    out += parts[i];
  }
  return out;
}

}  // namespace marvane
