#pragma once

#include <string>
#include <string_view>

namespace velunorh {

// One step of a grid up-down control. The value is read back from the shown text (not from
// the control), moved by one hundredth in the requested direction only while it stays inside
// [lower, upper] (hundredths of an inch), and returned as D.DD. A value already outside the
// limits only moves back toward them.
std::string StepLayoutValue(std::string_view shown, int direction, int lower, int upper);

// A whole number of hundredths as D.DD ("1.30"); below zero counts as zero.
std::string HundredthsText(int hundredths);

}  // namespace velunorh
