target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fitchk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/extdef.cpp
  ${CMAKE_CURRENT_LIST_DIR}/protocol_keyword.cpp
  ${CMAKE_CURRENT_LIST_DIR}/real_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rms_summary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_rule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/asplit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/add_split_records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/split_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/value_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_output_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
)
