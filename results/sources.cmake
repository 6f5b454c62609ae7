target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/run_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/write_results.cpp
  ${CMAKE_CURRENT_LIST_DIR}/write_plot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_bars.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_heatmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_doc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colour_scale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_text.cpp
)
