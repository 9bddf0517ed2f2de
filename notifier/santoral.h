// The santoral: the name of the saint or feast of every day of the year, 366 names in all
// (29 February included), built into the program.
#pragma once

#include <cstdint>
#include <string>

// Builds the table afresh: 31 cells for each of the 12 months, the 366 names in their days and
// the cells of days that do not exist (30 February, 31 April ...) empty.
void FillSantoral();

// The name of (day, month); the empty text for a day that does not exist or lies outside the
// table.
std::string SantoralEntry(int16_t day, int16_t month);
