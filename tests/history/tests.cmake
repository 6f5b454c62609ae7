list(APPEND FITCHK_TEST_SOURCES
  history/history_test.cpp
)
