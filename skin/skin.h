// The control-skinning service: restyles the standard controls of every
// window of the calling thread, present and future.
#pragma once

#include <cstdint>

namespace kalvoro::skin {

// Styles 1, 2 and 3 switch skinning on with the blue, olive-green and silver
// schemes; any other value switches it off. Switching on first removes any
// skinning in place. The result is 1 when skinning is on afterwards.
int apply_skin(std::int32_t style);

}  // namespace kalvoro::skin
