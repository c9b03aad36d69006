#include <bit>
#include <cmath>
#include <cstdint>

#include "calc/numeric.h"

// Every long double below is the x87 extended format (see fp_environment.h).
// A value is narrowed to double exactly where it is stored as one; the
// static_casts mark those places.

namespace kalvoro {

namespace {

// The result of an invalid operation: sign set, quiet, nothing else.
const double kDefaultNaN = std::bit_cast<double>(std::uint64_t{0xFFF8000000000000});

// The double nearest to 10^-12.
constexpr double kNudge = 1e-12;

// 10^n for 0 <= n <= 27 exactly: 10^n = 2^n * 5^n and 5^27 < 2^64, so each
// fits the 64-bit significand. From 10^28 on the scale is the extended value
// nearest to 10^n, and from 10^633 on it no longer matters: every non-zero
// finite double times 10^633 exceeds the double range (t = inf, result inf),
// and every double divided by it is below half the smallest subnormal
// (t = 0, result 0). So |places| is capped at 633, which keeps the scale
// finite (an infinite scale would turn inf / s and 0 * s into NaN).
constexpr int kExactPlaces = 27;
constexpr std::uint32_t kSaturatedPlaces = 633;

long double scale_for(std::uint32_t places) {
  if (places <= kExactPlaces) {
    long double s = 1.0L;
    for (std::uint32_t i = 0; i < places; ++i) s *= 10.0L;  // exact at every step
    return s;
  }
  return std::pow(10.0L, static_cast<long double>(places));
}

bool is_integer(double x) { return std::trunc(x) == x; }

// An odd integer is below 2^53 in magnitude; fmod is exact.
bool is_odd_integer(double x) { return is_integer(x) && std::fabs(std::fmod(x, 2.0)) == 1.0; }

}  // namespace

double round_places(double value, std::int32_t places) {
  // Step 1: zero and not-a-number come back as they are.
  if (value == 0.0 || std::isnan(value)) return value;

  // Step 2: the magnitude and the exact scale 10^|places|.
  const bool negative = std::signbit(value);
  const double a = std::fabs(value);
  std::uint32_t magnitude =
      places < 0 ? 0u - static_cast<std::uint32_t>(places) : static_cast<std::uint32_t>(places);
  if (magnitude > kSaturatedPlaces) magnitude = kSaturatedPlaces;
  const long double s = scale_for(magnitude);

  // Step 3: scale in extended precision, store as a double.
  double t = a;
  if (places > 0) {
    t = static_cast<double>(static_cast<long double>(a) * s);
  } else if (places < 0) {
    t = static_cast<double>(static_cast<long double>(a) / s);
  }

  // Step 4: the nudge, added in extended precision, stored as a double.
  const double u =
      static_cast<double>(static_cast<long double>(t) + static_cast<long double>(kNudge));

  // Step 5: integer part and fraction; both exact. An infinite u splits into
  // i = inf and f = 0.
  double i = u;
  double f = 0.0;
  if (!std::isinf(u)) {
    i = std::trunc(u);
    f = u - i;
  }

  // Step 6: half goes up. Kept in extended: f >= 0.5 only below 2^52, where
  // i + 1 is exact either way.
  const long double r = f >= 0.5 ? static_cast<long double>(i) + 1.0L : static_cast<long double>(i);

  // Step 7: unscale in extended precision, round once to a double.
  double result = static_cast<double>(r);
  if (places > 0) {
    result = static_cast<double>(r / s);
  } else if (places < 0) {
    result = static_cast<double>(r * s);
  }

  // Step 8: the sign that was set aside.
  return negative ? -result : result;
}

double power(double base, double exponent) {
  // A not-a-number base gives itself (even for exponent 0); a not-a-number
  // exponent likewise gives itself.
  if (std::isnan(base)) return base;
  if (std::isnan(exponent)) return exponent;

  // The square, the handlers' only case: one extended product, exact for any
  // single and for every double whose square needs at most 64 bits.
  if (exponent == 2.0) {
    const long double b = base;
    return static_cast<double>(b * b);
  }

  // The power of |b|, negated for odd integer exponents. A negative base
  // with a non-integer exponent is an invalid operation; -0 is not negative
  // in that sense ((-0)^2.5 = +0), but it keeps its sign for odd integer
  // exponents ((-0)^3 = -0).
  const bool negative = std::signbit(base);
  if (negative && base != 0.0 && !is_integer(exponent)) return kDefaultNaN;
  const long double magnitude =
      std::pow(static_cast<long double>(std::fabs(base)), static_cast<long double>(exponent));
  const double result = static_cast<double>(magnitude);
  return negative && is_odd_integer(exponent) ? -result : result;
}

double square_root(double value) {
  if (std::isnan(value)) return value;
  // -0 is not below zero: its root is -0.
  if (value < 0.0) return kDefaultNaN;
  return static_cast<double>(std::sqrt(static_cast<long double>(value)));
}

}  // namespace kalvoro
