target_sources(fitchk_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/d_inpkey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/readinpf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/readkeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tstkey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nextline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chrcount.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mygetarg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ckoptr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ckopti.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ckoptn.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ckoptb.cpp
  ${CMAKE_CURRENT_LIST_DIR}/descrp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtflna.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtfile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/inquire.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rplenvar.cpp
)
