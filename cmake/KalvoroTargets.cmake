# Flags shared by the project's own targets. Applied per target, never
# through the global CMAKE_CXX_FLAGS.
function(kalvoro_target_options target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wconversion -Wsign-conversion -Werror
    # The arithmetic relies on every rounding happening exactly where the
    # code stores a value: no contraction into fused multiply-adds.
    -ffp-contract=off)
  target_compile_features(${target} PUBLIC cxx_std_20)
endfunction()
