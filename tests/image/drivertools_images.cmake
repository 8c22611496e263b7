# The shipped DrvSwitch.exe and DrvRestore.exe beyond the rules every image
# follows: their size budget, what each imports, and DrvRestore's dialog
# template 102 parsed back from its resource tree. Included by the image
# tier's CMakeLists.
add_executable(drivertools_image_tests
  ${CMAKE_CURRENT_LIST_DIR}/res_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pe_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drivertools_image_test.cpp)
target_include_directories(drivertools_image_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(drivertools_image_tests PRIVATE OBX_DIST_DIR="${OBX_DIST_DIR}")
target_link_libraries(drivertools_image_tests PRIVATE GTest::gtest_main)
gtest_discover_tests(drivertools_image_tests PROPERTIES LABELS image DISCOVERY_TIMEOUT 60
  NO_PRETTY_VALUES)
