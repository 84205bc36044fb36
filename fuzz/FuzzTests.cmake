# SPDX-License-Identifier: GPL-3.0-or-later
# Every fuzz target runs for a short while as a test of the main build. The targets are built
# by clang in a project of their own under <build>/fuzz (libFuzzer needs clang, the program is
# built with g++); without clang those tests are skipped. fuzz/campaign.sh runs long campaigns.
option(ORBIVIST_FUZZ_TESTS "Run every fuzz target briefly as a test (needs clang)" ON)
set(ORBIVIST_FUZZ_TEST_SECONDS 5 CACHE STRING "How long each fuzz target runs as a test")

if(ORBIVIST_FUZZ_TESTS)
  set(fuzz_dir ${CMAKE_CURRENT_LIST_DIR})
  set(fuzz_build ${CMAKE_BINARY_DIR}/fuzz)
  add_test(NAME fuzz_build COMMAND ${fuzz_dir}/build.sh ${fuzz_build})
  set_tests_properties(fuzz_build PROPERTIES FIXTURES_SETUP fuzz_targets SKIP_RETURN_CODE 77
                                             TIMEOUT 3600)

  # A target is fuzz/<name>_fuzzer.cpp with its seeds in fuzz/corpus/<name>/.
  file(GLOB fuzzers CONFIGURE_DEPENDS ${fuzz_dir}/*_fuzzer.cpp)
  foreach(source ${fuzzers})
    get_filename_component(name ${source} NAME_WE)
    string(REGEX REPLACE "_fuzzer$" "" name ${name})
    add_test(NAME fuzz_${name}
             COMMAND ${fuzz_dir}/run_target.sh ${fuzz_build} ${name} ${ORBIVIST_FUZZ_TEST_SECONDS})
    # One at a time: each keeps a core busy for the whole run.
    set_tests_properties(fuzz_${name} PROPERTIES FIXTURES_REQUIRED fuzz_targets
                                                 SKIP_RETURN_CODE 77 TIMEOUT 600
                                                 RESOURCE_LOCK fuzz_cpu)
  endforeach()
endif()
