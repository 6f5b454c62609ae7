target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/history.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/collect_results.cpp
  ${CMAKE_CURRENT_LIST_DIR}/read_results.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/findings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history_plot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/problem_events.cpp
)
