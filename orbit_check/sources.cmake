target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fitchk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/extdef.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rms_summary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/asplit.cpp
)
