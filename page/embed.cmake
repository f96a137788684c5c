cmake_minimum_required(VERSION 3.25)

# Puts the page's style and script into its template and writes the whole
# page as a C++ string, with the Content-Security-Policy's hash of each
# script computed from the script itself, so that a change of page.js needs
# no other edit.
#
#   cmake -DTEMPLATE=page.html.in -DSTYLE=page.css -DSCRIPT=page.js -DOUTPUT=page_template.cc -P embed.cmake
#
# page.html.in holds @PAGE_STYLE@, @PAGE_SCRIPT@ and @SCRIPT_HASHES@ for
# them; its other markers are filled by schemapage as it runs.

# The base64 form of a hexadecimal digest, as the policy's 'sha256-...' wants it.
function(hex_to_base64 hex out)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(LENGTH "${hex}" length)
  set(result "")
  set(i 0)
  while(i LESS length)
    string(SUBSTRING "${hex}" ${i} 6 chunk)
    string(LENGTH "${chunk}" bytes)
    math(EXPR bytes "${bytes} / 2")
    while(NOT chunk MATCHES "^......$")
      string(APPEND chunk "0")
    endwhile()
    math(EXPR v "0x${chunk}")
    foreach(shift 18 12 6 0)
      math(EXPR digit "(${v} >> ${shift}) & 63")
      string(SUBSTRING "${alphabet}" ${digit} 1 c)
      string(APPEND result "${c}")
    endforeach()
    # 1 or 2 bytes left over: their last digits are padding.
    if(bytes EQUAL 2)
      string(REGEX REPLACE ".$" "=" result "${result}")
    elseif(bytes EQUAL 1)
      string(REGEX REPLACE "..$" "==" result "${result}")
    endif()
    math(EXPR i "${i} + 6")
  endwhile()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

file(READ "${TEMPLATE}" page)
file(READ "${STYLE}" style)
file(READ "${SCRIPT}" script)
foreach(marker PAGE_STYLE PAGE_SCRIPT SCRIPT_HASHES)
  string(FIND "${page}" "@${marker}@" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${TEMPLATE} has no @${marker}@")
  endif()
endforeach()
string(REPLACE "@PAGE_STYLE@" "${style}" page "${page}")
string(REPLACE "@PAGE_SCRIPT@" "${script}" page "${page}")

# Every <script> element's text, as the browser hashes it.
set(hashes "")
set(rest "${page}")
while(TRUE)
  string(FIND "${rest}" "<script>" open)
  if(open EQUAL -1)
    break()
  endif()
  math(EXPR open "${open} + 8")
  string(SUBSTRING "${rest}" ${open} -1 rest)
  string(FIND "${rest}" "</script>" close)
  if(close EQUAL -1)
    message(FATAL_ERROR "${TEMPLATE}: a <script> without its end")
  endif()
  string(SUBSTRING "${rest}" 0 ${close} text)
  string(SHA256 digest "${text}")
  hex_to_base64(${digest} b64)
  string(APPEND hashes " 'sha256-${b64}'")
  string(SUBSTRING "${rest}" ${close} -1 rest)
endwhile()
string(STRIP "${hashes}" hashes)
string(REPLACE "@SCRIPT_HASHES@" "${hashes}" page "${page}")

string(FIND "${page}" ")PAGE\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "the page holds )PAGE\", which ends the string it is written into")
endif()
file(WRITE "${OUTPUT}.part"
  "// Made by page/embed.cmake from page.html.in, page.css and page.js.\n"
  "#include \"page/template.h\"\n\n"
  "extern const std::string_view PAGE_TEMPLATE = R\"PAGE(${page})PAGE\";\n")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
