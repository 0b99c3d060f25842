// The places of a list of objects as plain numbers, kept to tell later
// whether any object of the list has moved, arrived or left.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "wymianadanych.h"

namespace wymianadanych {

// X and Y of an object as one number.
inline uint64_t Place(const TObiekt& o) {
  static_assert(sizeof(TObiekt) == sizeof(uint64_t));
  uint64_t place;
  std::memcpy(&place, &o, sizeof place);
  return place;
}

inline uint64_t Place(int32_t x, int32_t y) {
  TObiekt o;
  o.X = x;
  o.Y = y;
  return Place(o);
}

// Whether every object of `list` stands where `places` says, in order; one
// pass without early exits, an exclusive or and an or a place.
template <class List>
bool SamePlaces(const List& list, const std::vector<uint64_t>& places) {
  if (list.size() != places.size()) return false;
  uint64_t differ = 0;
  for (size_t i = 0; i < places.size(); ++i) differ |= Place(list[i]) ^ places[i];
  return differ == 0;
}

template <class List>
void TakePlaces(const List& list, std::vector<uint64_t>& places) {
  places.clear();
  for (const auto& o : list) places.push_back(Place(o));
}

}  // namespace wymianadanych
