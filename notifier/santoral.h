// The santoral: the name of the saint or feast of every day of the year, 366 names in all
// (29 February included), built into the program.
#pragma once

#include <cstdint>
#include <string>

// The name of (day, month); the empty text for a day that does not exist (30 February, 31 April
// ...) or lies outside the year.
std::string SantoralEntry(int16_t day, int16_t month);
