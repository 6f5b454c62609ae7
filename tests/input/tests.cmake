list(APPEND FITCHK_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ckoptr_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ckopti_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtfile_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rplenvar_test.cpp
)
