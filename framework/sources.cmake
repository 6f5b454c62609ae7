target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/m_tolk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/d_pgmid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/write_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/opnfil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/opnerr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alcerr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dimtst.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exitrc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exit_men.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exit_del.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exit_pgm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/opnsys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pritit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/prflna.cpp
  ${CMAKE_CURRENT_LIST_DIR}/defcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/m_cpu.cpp
)
