# The libFuzzer target over the decoder (clang only). Built when QV_FUZZ is on, in a build
# folder of its own (tests/fuzz/run.sh): the engines get coverage instrumentation there.
option(QV_FUZZ "Build the decoder fuzz target" OFF)
if(QV_FUZZ)
  target_compile_options(qv_engine PRIVATE -fsanitize=fuzzer-no-link)
  add_executable(decode_fuzzer ${CMAKE_SOURCE_DIR}/tests/fuzz/decode_fuzzer.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support/scripted_ui.cpp)
  target_compile_options(decode_fuzzer PRIVATE -fsanitize=fuzzer)
  target_link_libraries(decode_fuzzer qv_engine -fsanitize=fuzzer)
endif()
