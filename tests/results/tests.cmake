list(APPEND FITCHK_TEST_SOURCES
  results/results_test.cpp
)
