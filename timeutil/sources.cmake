target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/djul.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jmt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/l_basfun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/radgms.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clocks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dattim.cpp
  ${CMAKE_CURRENT_LIST_DIR}/iyear4.cpp
  ${CMAKE_CURRENT_LIST_DIR}/m_time.cpp
  ${CMAKE_CURRENT_LIST_DIR}/st2tim.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timst2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/time_messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/iordup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sjustl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/upperc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lengt1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stripdir.cpp
)
