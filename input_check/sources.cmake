target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/check_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_context.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyword_scan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_lines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_deletions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_relative_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_run_case.cpp
  ${CMAKE_CURRENT_LIST_DIR}/protocol_look.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fitchk_keywords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_distance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostics.cpp
)
