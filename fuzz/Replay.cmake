# Every fuzz target replays its committed corpus as an ordinary test, built
# with whatever compiler this build uses (no libFuzzer needed), so damage that
# once crashed a reader is tried again on every run. Included by tests/.
include(${CMAKE_CURRENT_LIST_DIR}/FuzzTargets.cmake)

foreach(name IN LISTS FOLIVOX_FUZZ_TARGETS)
  add_executable(replay_${name} ${FOLIVOX_FUZZ_DIR}/replay_main.cpp ${FOLIVOX_FUZZ_DIR}/fuzz_${name}.cpp)
  target_include_directories(replay_${name} PRIVATE ${FOLIVOX_FUZZ_DIR})
  target_link_libraries(replay_${name} PRIVATE folivox_core PkgConfig::PUGIXML LibXml2::LibXml2)
  add_test(NAME fuzz_replay_${name} COMMAND replay_${name} ${FOLIVOX_FUZZ_DIR}/corpus/${name})
  set_tests_properties(fuzz_replay_${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120 LABELS unit)
endforeach()
