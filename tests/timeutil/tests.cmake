list(APPEND FITCHK_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/calendar_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/radgms_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/st2tim_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timst2_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_helpers_test.cpp
)
