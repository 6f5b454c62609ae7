list(APPEND FITCHK_TEST_SOURCES
  framework/opnfil_test.cpp
  framework/exitrc_test.cpp
  framework/m_cpu_test.cpp
  framework/opnsys_test.cpp
  framework/pritit_test.cpp
  framework/defcon_test.cpp
)
