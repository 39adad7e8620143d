# Native Linux build of the engines with AddressSanitizer and UndefinedBehaviorSanitizer,
# for fast unit tests (and fuzzing with clang).
set(QV_SANITIZE "-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all")
option(QV_SANITIZERS "Build the native engines with sanitizers" ON)
if(QV_SANITIZERS)
  set(CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS} ${QV_SANITIZE}")
  set(CMAKE_C_FLAGS "${CMAKE_C_FLAGS} ${QV_SANITIZE}")
  set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -fsanitize=address,undefined")
endif()
add_compile_options(-Wall -Wextra)

add_library(qv_engine STATIC ${QV_ENGINE_SOURCES})

if(QV_BUILD_TESTS)
  enable_testing()
  add_subdirectory(${QV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  file(GLOB QV_ENGINE_TESTS CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/tests/engine/*.cpp ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
  add_executable(engine_tests ${QV_ENGINE_TESTS} ${CMAKE_SOURCE_DIR}/tests/support/scripted_ui.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support/test_files.cpp)
  target_link_libraries(engine_tests qv_engine GTest::gtest_main)
  gtest_discover_tests(engine_tests PROPERTIES LABELS native DISCOVERY_TIMEOUT 60)
endif()

# Benchmarks and peer round trips use small native command-line drivers.
file(GLOB QV_NATIVE_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tools/*.cpp)
foreach(tool ${QV_NATIVE_TOOLS})
  get_filename_component(name ${tool} NAME_WE)
  add_executable(${name} ${tool} ${CMAKE_SOURCE_DIR}/tests/support/scripted_ui.cpp)
  target_link_libraries(${name} qv_engine)
endforeach()

# Round trips against the peer tools of the formats, driven by shell scripts that get the
# build folder as their argument.
if(QV_BUILD_TESTS)
  file(GLOB QV_PEER_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/peers/*.sh)
  foreach(script ${QV_PEER_SCRIPTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME peers.${name} COMMAND bash ${script} ${CMAKE_BINARY_DIR})
    set_tests_properties(peers.${name} PROPERTIES LABELS peers TIMEOUT 600)
  endforeach()
endif()

# The decoder fuzz target, with clang.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  include(${CMAKE_SOURCE_DIR}/cmake/fuzz.cmake)
endif()
