list(APPEND FITCHK_TEST_SOURCES
  satcrux/lincount_test.cpp
  satcrux/d_satcrx_test.cpp
  satcrux/crx_mrgsol_test.cpp
)
