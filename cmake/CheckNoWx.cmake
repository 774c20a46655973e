# Fails when a file of the core (everything under src/ but the wx shell and the wx
# backend of the platform layer) includes a wx header.
file(GLOB_RECURSE core_files
  ${ROOT}/src/document/* ${ROOT}/src/view/* ${ROOT}/src/platform/*.h ${ROOT}/src/platform/*.cpp
  ${ROOT}/src/platform/posix/* ${ROOT}/src/dialogs/*Logic*)
set(offenders "")
foreach(f IN LISTS core_files)
  file(STRINGS ${f} hits REGEX "#[ \t]*include[ \t]*[<\"]wx/")
  if(hits)
    list(APPEND offenders ${f})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "The core must not include wx headers:\n  ${offenders}")
endif()
