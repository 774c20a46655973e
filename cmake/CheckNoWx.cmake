# Fails when a file of the core includes a wx header. The core is everything under
# src/ except the wx shell (src/app), the wx backend (src/platform/wx) and the wx
# dialog beside the dialog logic in src/dialogs.
file(GLOB_RECURSE core_files ${ROOT}/src/document/* ${ROOT}/src/view/* ${ROOT}/src/platform/posix/*)
file(GLOB platform_files ${ROOT}/src/platform/*.h ${ROOT}/src/platform/*.cpp ${ROOT}/src/platform/win32/*
     ${ROOT}/src/dialogs/ValidationLogic.* ${ROOT}/src/dialogs/ValidatorDigest.*)
set(offenders "")
foreach(f IN LISTS core_files platform_files)
  file(STRINGS ${f} hits REGEX "#[ \t]*include[ \t]*[<\"]wx/")
  if(hits)
    list(APPEND offenders ${f})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "The core must not include wx headers:\n  ${offenders}")
endif()
