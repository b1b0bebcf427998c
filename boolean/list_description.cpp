#include "boolean/list_description.h"

std::string PBListDescription(const std::vector<std::string>& items) {
  std::string text = "[";
  if (!items.empty()) text += "\n";
  for (std::size_t i = 0; i < items.size(); ++i) text += "\t" + std::to_string(i) + "\t=\t" + items[i] + "\n";
  return text + "]";
}
