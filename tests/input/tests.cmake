list(APPEND FITCHK_TEST_SOURCES
  input/readinpf_test.cpp
  input/input_limits_test.cpp
  input/ckoptr_test.cpp
  input/ckopti_test.cpp
  input/ckoptc_test.cpp
  input/gtfile_test.cpp
  input/rplenvar_test.cpp
)
