# The extension's tests under Wine: the COM host test program and its stand-in for the main
# program live in a folder of their own, with a copy of the extension, where no Zentp32.exe
# sits beside them to be found; shellhost plays Explorer for the end-to-end scripts.
set(QV_SHELLEXT_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QV_SHELLEXT_TEST_BIN ${CMAKE_BINARY_DIR}/shellext-tests)

add_library(shell_selection STATIC ${QV_SHELLEXT_TEST_DIR}/shell_selection.cpp)
target_link_libraries(shell_selection shell32 ole32 advapi32 uuid)

add_executable(qvrecorder ${QV_SHELLEXT_TEST_DIR}/launch_recorder.cpp ${QV_SHELLEXT_TEST_DIR}/launch_recorder.rc)
add_executable(shellext_tests ${QV_SHELLEXT_TEST_DIR}/extension_fixture.cpp
               ${QV_SHELLEXT_TEST_DIR}/context_menu_test.cpp ${QV_SHELLEXT_TEST_DIR}/invoke_command_test.cpp
               ${QV_SHELLEXT_TEST_DIR}/module_lifetime_test.cpp ${QV_SHELLEXT_TEST_DIR}/file_list_data.cpp
               ${CMAKE_SOURCE_DIR}/tests/support/window_probe.cpp)
target_link_libraries(shellext_tests shell_selection GTest::gtest_main user32 shell32 ole32 advapi32 uuid)
set_target_properties(qvrecorder shellext_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QV_SHELLEXT_TEST_BIN})
# The extension under test is a copy in that folder, so that the program it finds beside
# itself is the one a test places there.
add_custom_command(OUTPUT ${QV_SHELLEXT_TEST_BIN}/Zenthook.dll
                   COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Zenthook> ${QV_SHELLEXT_TEST_BIN}/Zenthook.dll
                   DEPENDS Zenthook)
add_custom_target(zenthook_under_test DEPENDS ${QV_SHELLEXT_TEST_BIN}/Zenthook.dll)
add_dependencies(shellext_tests qvrecorder zenthook_under_test)
gtest_discover_tests(shellext_tests PROPERTIES LABELS wine DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST)

# The same trace lines on Wine's debug channel, where a developer reads them.
add_test(NAME shellext.trace_on_debug_channel
         COMMAND ${CMAKE_COMMAND} -E env WINEDEBUG=warn+debugstr ${QV_WINE_RUN} $<TARGET_FILE:shellext_tests>
                 --gtest_filter=ModuleLifetime.EveryEntryPointWritesItsTraceLine)
set_tests_properties(shellext.trace_on_debug_channel PROPERTIES LABELS wine
                     PASS_REGULAR_EXPRESSION "debugstr:OutputDebugStringA \"CShellExt::InvokeCommand\\(\\)\\\\r\\\\n\""
                     FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")

add_executable(shellhost ${QV_SHELLEXT_TEST_DIR}/shellhost.cpp)
target_link_libraries(shellhost shell_selection user32 shell32 ole32 advapi32 uuid)
