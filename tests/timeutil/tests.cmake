list(APPEND FITCHK_TEST_SOURCES
  timeutil/calendar_test.cpp
  timeutil/radgms_test.cpp
  timeutil/clock_test.cpp
  timeutil/st2tim_test.cpp
  timeutil/timst2_test.cpp
  timeutil/text_helpers_test.cpp
)
