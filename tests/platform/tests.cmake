list(APPEND FITCHK_TEST_SOURCES
  platform/units_test.cpp
  platform/file_identity_test.cpp
  platform/replace_file_test.cpp
  platform/file_update_test.cpp
  platform/record_reader_test.cpp
  platform/fortran_format_test.cpp
  platform/field_read_test.cpp
  platform/fixed_text_test.cpp
  platform/read_whole_file_test.cpp
)
