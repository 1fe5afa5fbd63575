#pragma once

#include <functional>

namespace app::random {

// The platform's pseudo-random numbers: Rnd gives a number in [0, 1), and
// Randomize mixes a seed into the running sequence (equal seeds do not
// restart it). Tests may stand a scripted source in for Rnd.
void Randomize(double seed);
double Rnd();
std::function<double()> setSource(std::function<double()> source);  // empty restores the generator

}  // namespace app::random
