list(APPEND FITCHK_TEST_SOURCES
  framework/opnfil_test.cpp
  framework/exitrc_test.cpp
  framework/m_cpu_test.cpp
)
