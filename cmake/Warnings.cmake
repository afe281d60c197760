# One interface target that carries the project's warning flags.
add_library(folivox_warnings INTERFACE)
target_compile_options(folivox_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wconversion>)
if(FOLIVOX_WERROR)
  target_compile_options(folivox_warnings INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Werror>)
endif()
