# Windows build (MinGW or MSVC): the program, and the tests that run under Wine.
if(MINGW)
  add_compile_options(-Wall -Wextra)
  # One self-contained file per program: no MinGW runtime DLLs to ship or find.
  set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
  set(CMAKE_SHARED_LINKER_FLAGS "${CMAKE_SHARED_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
endif()
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _CRT_SECURE_NO_WARNINGS)
set(QV_WIN_LIBS user32 gdi32 comctl32 comdlg32 shell32 advapi32 version)

list(FILTER QV_ENGINE_SOURCES EXCLUDE REGEX "winstandin\\.cpp$")
add_library(qv_engine STATIC ${QV_ENGINE_SOURCES})
target_link_libraries(qv_engine ${QV_WIN_LIBS})

# Application shell, mail and configuration: everything of the program but its entry point.
file(GLOB QV_APP_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/mail/*.cpp ${CMAKE_SOURCE_DIR}/config/*.cpp)
list(FILTER QV_APP_SOURCES EXCLUDE REGEX "winmain\\.cpp$")
if(QV_APP_SOURCES)
  add_library(qv_app STATIC ${QV_APP_SOURCES})
  target_link_libraries(qv_app qv_engine ${QV_WIN_LIBS})
endif()

# The help files are compiled from one topic source with halibut: the WinHelp file for
# systems without HTML Help and the HTML Help file for the others.
find_program(HALIBUT halibut)
set(QV_HELP_SOURCE ${CMAKE_SOURCE_DIR}/resources/Zentp32.but)
set(QV_HELP_FILE ${CMAKE_BINARY_DIR}/Zentp32.hlp)
set(QV_HTML_HELP_FILE ${CMAKE_BINARY_DIR}/Zentp32.chm)
if(HALIBUT AND EXISTS ${QV_HELP_SOURCE})
  add_custom_command(OUTPUT ${QV_HELP_FILE} ${QV_HTML_HELP_FILE}
    COMMAND ${HALIBUT} --winhelp=${QV_HELP_FILE} --chm=${QV_HTML_HELP_FILE} ${QV_HELP_SOURCE}
    DEPENDS ${QV_HELP_SOURCE} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Compiling the help files")
  add_custom_target(helpfile ALL DEPENDS ${QV_HELP_FILE} ${QV_HTML_HELP_FILE})
endif()

# The engines call back into the shell (MakeOutFile, the decoder's questions) and the
# decoder's dialogs into the shell's header-style lists: the archives come in turn until
# every call is found.
set(QV_PROGRAM_LIBS qv_app qv_engine qv_app qv_engine qv_app)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/Zentp32.rc PROPERTIES
                            OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/resources/Zentp32.manifest)

if(TARGET qv_app AND EXISTS ${CMAKE_SOURCE_DIR}/app/winmain.cpp AND EXISTS ${CMAKE_SOURCE_DIR}/resources/Zentp32.rc)
  add_executable(Zentp32 WIN32 ${CMAKE_SOURCE_DIR}/app/winmain.cpp ${CMAKE_SOURCE_DIR}/resources/Zentp32.rc)
  target_link_libraries(Zentp32 ${QV_PROGRAM_LIBS})
  if(TARGET helpfile)
    add_dependencies(Zentp32 helpfile)
  endif()
endif()

if(QV_BUILD_TESTS)
  enable_testing()
  set(QV_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QV_WINE_RUN})
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)

  # Engine tests on real Win32 files and the real registry, with the scripted reporter.
  file(GLOB QV_ENGINE_WIN_TESTS CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/tests/engine/*.cpp ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
  file(GLOB QV_ENGINE_WIN_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.rc)
  add_executable(engine_tests_win ${QV_ENGINE_WIN_TESTS} ${QV_ENGINE_WIN_RESOURCES}
                 ${CMAKE_SOURCE_DIR}/tests/support/scripted_ui.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support/test_files.cpp)
  target_link_libraries(engine_tests_win qv_engine GTest::gtest_main ${QV_WIN_LIBS})
  gtest_discover_tests(engine_tests_win PROPERTIES LABELS wine DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST)

  # Application-shell tests against real windows, message boxes and dialogs.
  file(GLOB QV_APP_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/app/*.cpp)
  if(QV_APP_TESTS AND TARGET qv_app)
    add_executable(app_tests ${QV_APP_TESTS} ${CMAKE_SOURCE_DIR}/tests/support/test_files.cpp
                   ${CMAKE_SOURCE_DIR}/tests/support/window_probe.cpp
                   ${CMAKE_SOURCE_DIR}/resources/Zentp32.rc)
    target_link_libraries(app_tests ${QV_PROGRAM_LIBS} GTest::gtest ${QV_WIN_LIBS})
    gtest_discover_tests(app_tests PROPERTIES LABELS wine DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST)
  endif()

  # A Simple MAPI provider with a mail store in files, registered as the default mail client
  # by the mail tests (tests/mapi_store/store.h).
  file(GLOB QV_MAPI_STORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/mapi_store/*.cpp)
  if(QV_MAPI_STORE_SOURCES)
    add_library(qvmapistore SHARED ${QV_MAPI_STORE_SOURCES} ${CMAKE_SOURCE_DIR}/tests/mapi_store/qvmapistore.def)
    set_target_properties(qvmapistore PROPERTIES PREFIX "")
    target_link_libraries(qvmapistore user32)
  endif()

  # The end-to-end driver: finds the program's windows, reads and presses them.
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/qvdriver.cpp)
    add_executable(qvdriver ${CMAKE_SOURCE_DIR}/tests/e2e/qvdriver.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support/window_probe.cpp)
    target_link_libraries(qvdriver ${QV_WIN_LIBS})
    # A stand-in web browser that records the address it was given.
    add_executable(argrecorder ${CMAKE_SOURCE_DIR}/tests/e2e/argrecorder.cpp)
  endif()
  file(GLOB QV_E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.sh)
  foreach(script ${QV_E2E_SCRIPTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e.${name} COMMAND bash ${script} ${CMAKE_BINARY_DIR})
    # The end-to-end scripts share one Wine prefix and display of their own: one at a time.
    # The longest takes minutes on a loaded machine; a program that hangs fails its script
    # much sooner (expect_exit_code).
    set_tests_properties(e2e.${name} PROPERTIES LABELS e2e TIMEOUT 600 RESOURCE_LOCK wineprefix-e2e)
  endforeach()
endif()

# The Explorer extension and the installer.
include(${CMAKE_SOURCE_DIR}/shellext/zenthook.cmake)
include(${CMAKE_SOURCE_DIR}/installer/installer.cmake)
if(QV_BUILD_TESTS)
  include(${CMAKE_SOURCE_DIR}/tests/shellext/shellext_tests.cmake)
endif()
