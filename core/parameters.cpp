#include "parameters.h"

namespace wymianadanych {

const TParameter* FindParameter(std::string_view name) {
  for (const TParameter& p : ParameterTable)
    if (p.Name == name) return &p;
  return nullptr;
}

std::string ParameterNames() {
  std::string names;
  for (const TParameter& p : ParameterTable) {
    if (!names.empty()) names += ", ";
    names += p.Name;
  }
  return names;
}

}  // namespace wymianadanych
