#include "parameters.h"

namespace wymianadanych {

const TParameter* FindParameter(std::string_view name) {
  for (const TParameter& p : ParameterTable)
    if (p.Name == name) return &p;
  return nullptr;
}

TParameterValues ParameterValues(const TWorld& w) {
  TParameterValues values{};
  for (size_t i = 0; i < values.size(); ++i) values[i] = ParameterTable[i].Get(w);
  return values;
}

void SetParameters(TWorld& w, const TParameterValues& values) {
  for (size_t i = 0; i < values.size(); ++i) ParameterTable[i].Set(w, values[i]);
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
