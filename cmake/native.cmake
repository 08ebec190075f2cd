# Native build of the window-free code: unit tests under AddressSanitizer and
# UBSan, benchmarks, and the registration of the Wine and end-to-end tests.
option(TAV_SANITIZE "Build with AddressSanitizer and UBSan" ON)
option(TAV_BENCH "Build the benchmarks" OFF)
set(TAV_WIN_BUILD_DIR "" CACHE PATH "Cross build folder holding the .exe files")

if(TAV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

add_library(tavcore STATIC ${TAV_PORTABLE_SOURCES})
tav_target_defaults(tavcore)
target_include_directories(tavcore PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)

add_library(tavstereo STATIC ${TAV_STEREO_SOURCES})
tav_target_defaults(tavstereo)
target_link_libraries(tavstereo PUBLIC tavcore)

find_package(Threads REQUIRED)
enable_testing()

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB _unit CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(tavkit_unittests ${_unit})
tav_target_defaults(tavkit_unittests)
target_link_libraries(tavkit_unittests PRIVATE tavstereo tavcore GTest::gtest GTest::gtest_main Threads::Threads)
gtest_discover_tests(tavkit_unittests TEST_PREFIX "unit." DISCOVERY_TIMEOUT 60)

if(TAV_BENCH)
  find_package(benchmark REQUIRED)
  file(GLOB _benches CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  foreach(src ${_benches})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    tav_target_defaults(${name})
    target_link_libraries(${name} PRIVATE tavstereo tavcore benchmark::benchmark Threads::Threads)
  endforeach()
endif()

# Tests that run Windows binaries under Wine; the environment (DISPLAY,
# WINEPREFIX) comes from scripts/test.sh.
if(TAV_WIN_BUILD_DIR)
  add_test(NAME wine.all
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-wine-tests.sh ${TAV_WIN_BUILD_DIR}/tavkit_winetests.exe)
  set_tests_properties(wine.all PROPERTIES TIMEOUT 600 RESOURCE_LOCK wine)
  file(GLOB _e2e CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
  foreach(src ${_e2e})
    get_filename_component(name ${src} NAME_WE)
    add_test(NAME e2e.${name} COMMAND /usr/bin/python3 ${src})
    set_tests_properties(e2e.${name} PROPERTIES TIMEOUT 600 RESOURCE_LOCK wine
      ENVIRONMENT "TAV_WIN_BUILD_DIR=${TAV_WIN_BUILD_DIR};TAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  endforeach()
endif()
