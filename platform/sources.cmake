target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fixed_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fortran_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field_read.cpp
  ${CMAKE_CURRENT_LIST_DIR}/units.cpp
  ${CMAKE_CURRENT_LIST_DIR}/replace_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/new_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_attributes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_update.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_identity.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_access.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/read_whole_file.cpp
)
