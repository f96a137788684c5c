# Puts the map (an SVG drawn by dot from tablegraph's output) and the document
# (tabledoc's HTML fragment) into one standalone page.
#
#   cmake -DTEMPLATE=page.html.in -DSVG=schema.svg -DDOC=schema.html
#         -DOUTPUT=index.html [-DTITLE=...] -P page.cmake
#
# The SVG goes into the page inline, so that the links of its cells navigate
# within the page itself; its XML declaration, doctype and leading comments
# have no place inside HTML and are cut off.
foreach(var TEMPLATE SVG DOC OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "page.cmake: -D${var}=... is required")
  endif()
endforeach()
if(NOT DEFINED TITLE)
  set(TITLE "Schema")
endif()

file(READ "${SVG}" svg)
string(FIND "${svg}" "<svg" start)
if(start LESS 0)
  message(FATAL_ERROR "page.cmake: no <svg> element in ${SVG}")
endif()
string(SUBSTRING "${svg}" ${start} -1 SCHEMA_MAP)
string(STRIP "${SCHEMA_MAP}" SCHEMA_MAP)

file(READ "${DOC}" SCHEMA_DOC)
string(STRIP "${SCHEMA_DOC}" SCHEMA_DOC)

# The title is text in the page: escape what HTML would read as markup.
string(REPLACE "&" "&amp;" PAGE_TITLE "${TITLE}")
string(REPLACE "<" "&lt;" PAGE_TITLE "${PAGE_TITLE}")
string(REPLACE ">" "&gt;" PAGE_TITLE "${PAGE_TITLE}")

# @ONLY: the values are inserted as they are, never scanned for variables.
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
