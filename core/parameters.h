// The ten scenario parameters, in the order of the scenario file: each one's
// name as the code spells it, its start-up default and its field in the
// world. The scenario reader and writer, New and the experiment runner all
// work from this table, so adding a parameter touches it alone (and the
// field it names).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "wymianadanych.h"

namespace wymianadanych {

struct TParameter {
  std::string_view Name;
  int32_t Default;
  int32_t (*Get)(const TWorld& w);
  void (*Set)(TWorld& w, int32_t value);
};

namespace parameter_detail {
// A parameter's field may be a plain or an atomic 32-bit integer.
template <auto Field>
int32_t Get(const TWorld& w) {
  return w.*Field;
}
template <auto Field>
void Set(TWorld& w, int32_t value) {
  w.*Field = value;
}
}  // namespace parameter_detail

#define WENDO_PARAMETER(name, defaultValue)                                                           \
  TParameter {                                                                                        \
    #name, defaultValue, &parameter_detail::Get<&TWorld::name>, &parameter_detail::Set<&TWorld::name> \
  }

inline constexpr std::array<TParameter, 10> ParameterTable = {
    WENDO_PARAMETER(SimStepMs, 100),     WENDO_PARAMETER(RefreshMs, 1000), WENDO_PARAMETER(PersonArrivalS, 10),
    WENDO_PARAMETER(PersonMax, 40),      WENDO_PARAMETER(PersonSpeed, 20), WENDO_PARAMETER(PersonRange, 50),
    WENDO_PARAMETER(SharkArrivalS, 15),  WENDO_PARAMETER(SharkMax, 5),     WENDO_PARAMETER(SharkSpeed, 30),
    WENDO_PARAMETER(SharkRange, 300),
};

#undef WENDO_PARAMETER

constexpr int ParameterCount = static_cast<int>(ParameterTable.size());

// A value for every parameter, in table order (the file's order).
using TParameterValues = std::array<int32_t, ParameterTable.size()>;

// The start-up defaults.
constexpr TParameterValues DefaultParameters() {
  TParameterValues values{};
  for (size_t i = 0; i < values.size(); ++i) values[i] = ParameterTable[i].Default;
  return values;
}

// The world's parameters, and all of them set at once.
TParameterValues ParameterValues(const TWorld& w);
void SetParameters(TWorld& w, const TParameterValues& values);

// The parameter of that exact name, or null.
const TParameter* FindParameter(std::string_view name);

// "SimStepMs, RefreshMs, …": every name in file order, for messages.
std::string ParameterNames();

}  // namespace wymianadanych
