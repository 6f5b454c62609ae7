list(APPEND FITCHK_TEST_SOURCES
  orbit_check/extdef_test.cpp
  orbit_check/rms_summary_test.cpp
  orbit_check/asplit_test.cpp
  orbit_check/check_output_files_test.cpp
  orbit_check/command_line_test.cpp
)
