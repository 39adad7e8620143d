# The Explorer extension Zenthook.dll: its own sources and system libraries only, nothing of
# the program. Included by the program's Windows build and by the stand-alone build of the
# other bitness (CMakeLists.txt beside this file).
set(QV_ZENTHOOK_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QV_ZENTHOOK_LIBS user32 shell32 ole32 advapi32 uuid)

# Everything but the module's exported entry points, also for the white-box tests.
file(GLOB QV_ZENTHOOK_PARTS CONFIGURE_DEPENDS ${QV_ZENTHOOK_DIR}/*.cpp)
list(FILTER QV_ZENTHOOK_PARTS EXCLUDE REGEX "(dll_entry|registration)\\.cpp$")
add_library(zenthook_parts STATIC ${QV_ZENTHOOK_PARTS})
target_include_directories(zenthook_parts PUBLIC ${QV_ZENTHOOK_DIR}/..)
target_link_libraries(zenthook_parts ${QV_ZENTHOOK_LIBS})

add_library(Zenthook SHARED ${QV_ZENTHOOK_DIR}/dll_entry.cpp ${QV_ZENTHOOK_DIR}/registration.cpp
            ${QV_ZENTHOOK_DIR}/Zenthook.def)
target_link_libraries(Zenthook zenthook_parts ${QV_ZENTHOOK_LIBS})
set_target_properties(Zenthook PROPERTIES PREFIX "" OUTPUT_NAME Zenthook)
