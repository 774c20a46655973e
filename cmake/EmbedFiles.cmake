# Writes OUT, a header that holds each SVG file of DIR as a string constant named
# after the file: kbr_dorin.svg becomes kSvg_kbr_dorin.
file(GLOB FILES ${DIR}/*.svg)
set(text "// Generated from src/resources by cmake/EmbedFiles.cmake; do not edit.\n#pragma once\n\n")
foreach(f IN LISTS FILES)
  get_filename_component(name ${f} NAME_WE)
  file(READ ${f} content)
  string(APPEND text "inline constexpr const char kSvg_${name}[] = R\"svg(${content})svg\";\n")
endforeach()
file(WRITE ${OUT}.tmp "${text}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
