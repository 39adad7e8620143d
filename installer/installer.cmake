# The installer (NSIS): the program, its two help files and the extension. The 32-bit build makes
# the shipped installer, which carries both extensions (the 64-bit one built stand-alone with
# the other compiler); the 64-bit build makes a 64-bit installer, which the tests run.
find_program(MAKENSIS makensis)
if(MAKENSIS AND TARGET Zentp32 AND TARGET Zenthook AND TARGET helpfile)
  set(QV_SETUP_SCRIPT ${CMAKE_SOURCE_DIR}/installer/Quorvane32.nsi)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QV_SETUP ${CMAKE_BINARY_DIR}/Quorvane32-setup-x64.exe)
    set(QV_SETUP_DEFINES -DQV_AMD64 -DQV_HOOK64=$<TARGET_FILE:Zenthook>)
    set(QV_SETUP_DEPENDS Zenthook)
  elseif(MINGW)
    include(ExternalProject)
    set(QV_HOOK64 ${CMAKE_BINARY_DIR}/zenthook64/Zenthook.dll)
    ExternalProject_Add(zenthook64
      SOURCE_DIR ${CMAKE_SOURCE_DIR}/shellext
      BINARY_DIR ${CMAKE_BINARY_DIR}/zenthook64
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
      BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target Zenthook
      INSTALL_COMMAND ""
      BUILD_ALWAYS ON
      BUILD_BYPRODUCTS ${QV_HOOK64})
    set(QV_SETUP ${CMAKE_BINARY_DIR}/Quorvane32-setup.exe)
    set(QV_SETUP_DEFINES -DQV_HOOK32=$<TARGET_FILE:Zenthook> -DQV_HOOK64=${QV_HOOK64})
    set(QV_SETUP_DEPENDS Zenthook zenthook64 ${QV_HOOK64})
  endif()
  if(QV_SETUP)
    add_custom_command(OUTPUT ${QV_SETUP}
      COMMAND ${MAKENSIS} -V2 -DQV_PROGRAM=$<TARGET_FILE:Zentp32> -DQV_HELP=${QV_HELP_FILE} -DQV_HTML_HELP=${QV_HTML_HELP_FILE}
              ${QV_SETUP_DEFINES} -DQV_OUTFILE=${QV_SETUP} ${QV_SETUP_SCRIPT}
      DEPENDS Zentp32 helpfile ${QV_HELP_FILE} ${QV_HTML_HELP_FILE} ${QV_SETUP_DEPENDS} ${QV_SETUP_SCRIPT}
      COMMENT "Building the installer")
    add_custom_target(installer ALL DEPENDS ${QV_SETUP})
  endif()
endif()
