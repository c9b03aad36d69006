#include "calc/numeric.h"

namespace kalvoro {

Text format_number(double) {
  char* text = allocate_text(1);
  text[0] = '0';
  return text;
}

}  // namespace kalvoro
