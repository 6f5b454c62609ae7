target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/d_satcrx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/crx_query.cpp
  ${CMAKE_CURRENT_LIST_DIR}/read_crux.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lincount.cpp
  ${CMAKE_CURRENT_LIST_DIR}/record_end_reason.cpp
  ${CMAKE_CURRENT_LIST_DIR}/read_stop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtsatb.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtsatm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtsats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtsatp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtsatd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtsatm2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/crx_mrgsol.cpp
  ${CMAKE_CURRENT_LIST_DIR}/modsvn.cpp
)
