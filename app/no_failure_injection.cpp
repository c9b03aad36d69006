#include "app/failure_injection.h"

namespace kalvoro::app {

InjectedFailure injected_failure() { return InjectedFailure::none; }

}  // namespace kalvoro::app
