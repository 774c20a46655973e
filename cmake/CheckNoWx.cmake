# Fails when a file of the core includes a wx header or SQLite's. The core is
# everything under src/ except the wx shell (src/app), the wx backend
# (src/platform/wx), the wx dialog beside the dialog logic in src/dialogs, and the
# history's SQLite implementation (src/history/sqlite), which may use SQLite but
# not wx.
file(GLOB_RECURSE core_files ${ROOT}/src/document/* ${ROOT}/src/view/* ${ROOT}/src/platform/posix/*
     ${ROOT}/src/history/chart/*)
file(GLOB platform_files ${ROOT}/src/platform/*.h ${ROOT}/src/platform/*.cpp ${ROOT}/src/platform/win32/*
     ${ROOT}/src/dialogs/ValidationLogic.* ${ROOT}/src/dialogs/ValidatorDigest.* ${ROOT}/src/history/*.h
     ${ROOT}/src/history/*.cpp)
file(GLOB_RECURSE history_store_files ${ROOT}/src/history/sqlite/*)
set(offenders "")
foreach(f IN LISTS core_files platform_files history_store_files)
  file(STRINGS ${f} hits REGEX "#[ \t]*include[ \t]*[<\"]wx/")
  if(hits)
    list(APPEND offenders ${f})
  endif()
endforeach()
foreach(f IN LISTS core_files platform_files)
  file(STRINGS ${f} hits REGEX "#[ \t]*include[ \t]*[<\"]sqlite")
  if(hits)
    list(APPEND offenders ${f})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "The core must not include wx or SQLite headers:\n  ${offenders}")
endif()
