list(APPEND FITCHK_TEST_SOURCES
  input/readinpf_test.cpp
)
