# Native tree: the pure logic and its GoogleTest unit tests.
find_package(GTest REQUIRED)

file(GLOB KV_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(kv_unit_tests ${KV_UNIT_TESTS})
target_link_libraries(kv_unit_tests PRIVATE kvcore GTest::gtest GTest::gtest_main)
target_include_directories(kv_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit)

include(GoogleTest)
gtest_discover_tests(kv_unit_tests)
