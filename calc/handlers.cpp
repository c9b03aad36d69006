#include "calc/handlers.h"

#include "calc/boxes.h"
#include "calc/fp_environment.h"
#include "calc/numeric.h"
#include "calc/text.h"

namespace kalvoro {

namespace {

using Extended = long double;

// Unit constants, each the double nearest to its decimal value.
constexpr double kMillimetresPerInch = 25.4;
constexpr double kMillimetresPerMetre = 1000.0;
constexpr double kMetresPerInch = 0.0254;
constexpr double kSquare = 2.0;
constexpr std::int32_t kRangePlaces = 1;  // rows 1 and 2: one decimal place
constexpr std::int32_t kSidePlaces = 4;   // row 3: four decimal places

// read_text, parse_single of the text ("" when none came back), release_text.
float read_single(EditBox box) {
  const OwnedText text(read_text(box));
  return parse_single(text.or_empty());
}

// A box value times a unit factor: the product is formed in extended
// precision, stored as a double, and that double stored as a single (three
// roundings, in this order).
float scaled_single(EditBox box, double factor) {
  const float x = read_single(box);
  const double product = static_cast<double>(static_cast<Extended>(x) * factor);
  return static_cast<float>(product);
}

// round_places, then format_number of the rounded value.
OwnedText rounded_text(double value, std::int32_t places) {
  return OwnedText(format_number(round_places(value, places)));
}

// Joins "<first>—<second><unit>", writes it into `box` and gives every Text
// back: the two numbers first, then the joined text after writing.
void write_range(EditBox box, double first, double second, Text unit) {
  OwnedText t1 = rounded_text(first, kRangePlaces);
  OwnedText t2 = rounded_text(second, kRangePlaces);
  OwnedText joined(join_text({t1.get(), texts::kDash, t2.get(), unit}));
  t1.reset();
  t2.reset();
  write_text(box, joined.get());
}

// One side of the screen: sqrt(D^2 * N / (W^2 + H^2)), each value stored as a
// double before the next step uses it, then rounded to four places and
// written with the unit.
void write_side(EditBox box, double diagonal_m, float part, float width, float height) {
  const double a = power(diagonal_m, kSquare);
  const double n = power(part, kSquare);
  const double m = static_cast<double>(static_cast<Extended>(a) * n);
  const double s =
      static_cast<double>(static_cast<Extended>(power(width, kSquare)) + power(height, kSquare));
  const double q = static_cast<double>(static_cast<Extended>(m) / s);
  const double side = square_root(q);
  OwnedText number = rounded_text(side, kSidePlaces);
  OwnedText joined(join_text({number.get(), texts::kMetre}));
  number.reset();
  write_text(box, joined.get());
}

}  // namespace

void calc_throw_distance() {
  const float f1 = read_single(EditBox::编辑框1);
  const float image_mm = scaled_single(EditBox::编辑框2, kMillimetresPerInch);
  const float chip_mm = scaled_single(EditBox::编辑框3, kMillimetresPerInch);
  const float f2 = read_single(EditBox::编辑框5);

  // F x I is exact as a double (two singles); the two divisions follow each
  // other in extended precision and are rounded to a double once.
  const auto distance = [&](float focal) {
    const double product = static_cast<double>(focal) * static_cast<double>(image_mm);
    return static_cast<double>(static_cast<Extended>(product) / chip_mm / kMillimetresPerMetre);
  };
  const double d1 = distance(f1);
  const double d2 = distance(f2);
  write_range(EditBox::编辑框4, d1, d2, texts::kMetre);
}

void calc_image_size() {
  const float throw_mm = scaled_single(EditBox::编辑框11, kMillimetresPerMetre);
  const float chip_mm = scaled_single(EditBox::编辑框8, kMillimetresPerInch);
  const float f1 = read_single(EditBox::编辑框10);
  const float f2 = read_single(EditBox::编辑框6);

  const double product = static_cast<double>(throw_mm) * static_cast<double>(chip_mm);
  const auto diagonal = [&](float focal) {
    return static_cast<double>(static_cast<Extended>(product) / focal / kMillimetresPerInch);
  };
  // The right box's focal length gives the first number.
  const double d1 = diagonal(f2);
  const double d2 = diagonal(f1);
  write_range(EditBox::编辑框7, d1, d2, texts::kInch);
}

void calc_screen_sides() {
  const float diagonal_in = read_single(EditBox::编辑框9);
  const float width = read_single(EditBox::编辑框15);
  const float height = read_single(EditBox::编辑框14);

  const double diagonal_m =
      static_cast<double>(static_cast<Extended>(diagonal_in) * kMetresPerInch);
  write_side(EditBox::编辑框16, diagonal_m, width, width, height);
  write_side(EditBox::编辑框17, diagonal_m, height, width, height);
}

void credit_key_down(std::int32_t key_code, std::int32_t /*modifier_state*/) {
  if (key_code == kEndKey) write_text(EditBox::编辑框7, texts::kCredit);
}

}  // namespace kalvoro
