#pragma once

namespace plotunits {

// m x 10^n as the double nearest to it, for a whole m of a few digits. Not pow(10, n): some C
// libraries (MinGW's) give 10^n for negative n an ulp off, which moves an axis end or a
// prefix boundary off the round value the data sit on.
double decimal(double m, int n);

} // namespace plotunits
