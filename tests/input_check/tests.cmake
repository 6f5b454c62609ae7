list(APPEND FITCHK_TEST_SOURCES
  input_check/check_input_test.cpp
)
