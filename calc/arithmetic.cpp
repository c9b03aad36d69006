#include "calc/numeric.h"

namespace kalvoro {

double round_places(double value, std::int32_t) { return value; }
double power(double base, double exponent) { return base * exponent; }
double square_root(double value) { return value; }

}  // namespace kalvoro
