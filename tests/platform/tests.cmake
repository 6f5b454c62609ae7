list(APPEND FITCHK_TEST_SOURCES
  platform/fixed_text_test.cpp
  platform/fortran_format_test.cpp
  platform/field_read_test.cpp
)
