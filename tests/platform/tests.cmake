list(APPEND FITCHK_TEST_SOURCES
  platform/units_test.cpp
)
