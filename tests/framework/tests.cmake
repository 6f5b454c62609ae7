list(APPEND FITCHK_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/opnsys_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pritit_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/defcon_test.cpp
)
