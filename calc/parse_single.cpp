#include "calc/numeric.h"

namespace kalvoro {

std::string fold_full_width(Text text) { return text != nullptr ? std::string(text) : std::string(); }

float parse_single(Text) { return 0.0f; }

}  // namespace kalvoro
