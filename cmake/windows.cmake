# Cross build: the library, the product, the test user program, the probe
# helper and the Wine test binary.
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
set(TAV_STATIC_LINK -static -static-libgcc -static-libstdc++)
set(TAV_WIN_LIBS gdiplus comdlg32 shell32 user32 gdi32 kernel32 ole32)

add_library(tavlib STATIC ${TAV_PORTABLE_SOURCES} ${TAV_WIN32_SOURCES})
tav_target_defaults(tavlib)
target_include_directories(tavlib PUBLIC ${CMAKE_SOURCE_DIR}/include)
target_link_libraries(tavlib PUBLIC ${TAV_WIN_LIBS})

function(tav_gui_exe name)
  add_executable(${name} WIN32 ${ARGN})
  tav_target_defaults(${name})
  target_link_options(${name} PRIVATE ${TAV_STATIC_LINK} -mwindows -Wl,-u,WinMain)
  target_link_libraries(${name} PRIVATE tavlib)
endfunction()

# The product: the stereo converter on top of the library.
tav_gui_exe(tavkit ${TAV_STEREO_SOURCES})

# A user program for end-to-end tests of the library itself.
file(GLOB _testprog CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/testprog/*.cpp)
tav_gui_exe(tavtest ${_testprog})

# Console helper that reports windows of the same Wine prefix as the system sees them.
file(GLOB _probe CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/probe/*.cpp)
add_executable(tavprobe ${_probe})
tav_target_defaults(tavprobe)
target_link_options(tavprobe PRIVATE ${TAV_STATIC_LINK})
target_link_libraries(tavprobe PRIVATE user32 gdi32 kernel32)

# GoogleTest, cross-compiled from the Debian sources, for window-system tests under Wine.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  file(GLOB _winetests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.cpp)
  add_executable(tavkit_winetests ${_winetests})
  tav_target_defaults(tavkit_winetests)
  target_link_options(tavkit_winetests PRIVATE ${TAV_STATIC_LINK})
  target_link_libraries(tavkit_winetests PRIVATE tavlib gtest)
endif()
