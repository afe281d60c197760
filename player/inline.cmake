# Builds the player's page in two steps, run as cmake -P:
#   join:   cmake -DPLAYER_DIR=<player folder> -DJOINED_JS=<file> -DJOINED_CSS=<file> -P inline.cmake
#           joins the scripts and the style sheets of src/order.txt, each into one file
#           (the build minifies these);
#   inline: cmake -DPLAYER_DIR=<player folder> -DSCRIPT=<file> -DSTYLE=<file> -DOUTPUT=<index.html> -P inline.cmake
#           puts a joined (or minified) script and style sheet into the page skeleton,
#           giving one self-contained HTML file;
#   both:   cmake -DPLAYER_DIR=<player folder> -DOUTPUT=<index.html> -P inline.cmake
#           the readable page in one go (what the node tools and browser tests use).
# The page goes through the publisher's placeholder engine, which would swallow any
# "${" it finds, so the only ones allowed are the four placeholders of the skeleton.

if(NOT PLAYER_DIR)
  message(FATAL_ERROR "inline.cmake needs -DPLAYER_DIR=...")
endif()

set(join_only FALSE)
if(JOINED_JS AND JOINED_CSS)
  set(join_only TRUE)
endif()
if(join_only OR (OUTPUT AND NOT SCRIPT AND NOT STYLE))
  include("${CMAKE_CURRENT_LIST_DIR}/order.cmake")
  folivox_player_order("${PLAYER_DIR}" scripts sheets)
  set(css "")
  foreach(name IN LISTS sheets)
    file(READ "${PLAYER_DIR}/src/${name}" part)
    string(APPEND css "${part}")
  endforeach()
  set(js "")
  foreach(name IN LISTS scripts)
    file(READ "${PLAYER_DIR}/src/${name}" part)
    string(APPEND js "${part}")
  endforeach()
  if(join_only)
    file(WRITE "${JOINED_JS}.tmp" "${js}")
    file(RENAME "${JOINED_JS}.tmp" "${JOINED_JS}")
    file(WRITE "${JOINED_CSS}.tmp" "${css}")
    file(RENAME "${JOINED_CSS}.tmp" "${JOINED_CSS}")
    return()
  endif()
elseif(SCRIPT AND STYLE AND OUTPUT)
  file(READ "${STYLE}" css)
  file(READ "${SCRIPT}" js)
  # Every module is strict: one directive at the top of the page's script stands
  # for the one a minifier keeps in each module's function.
  string(REPLACE "\"use strict\";" "" js "${js}")
  string(PREPEND js "\"use strict\";")
else()
  message(FATAL_ERROR "inline.cmake needs -DJOINED_JS and -DJOINED_CSS, -DSCRIPT, -DSTYLE and -DOUTPUT, or -DOUTPUT alone")
endif()

file(READ "${PLAYER_DIR}/template.html" html)
# A minifier may end its output with a line break; the page needs none.
string(REGEX REPLACE "\n$" "" js "${js}")
string(REGEX REPLACE "\n$" "" css "${css}")

string(TOLOWER "${js}" js_lower)
string(FIND "${js_lower}" "</script" bad)
if(NOT bad EQUAL -1)
  message(FATAL_ERROR "player scripts contain \"</script\", which would end the inline script early")
endif()
string(TOLOWER "${css}" css_lower)
string(FIND "${css_lower}" "</style" bad)
if(NOT bad EQUAL -1)
  message(FATAL_ERROR "the player's style sheets contain \"</style\"")
endif()

foreach(marker "/*@FOLIVOX_CSS@*/" "/*@FOLIVOX_JS@*/")
  string(FIND "${html}" "${marker}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "template.html lacks the marker ${marker}")
  endif()
endforeach()
string(REPLACE "/*@FOLIVOX_CSS@*/" "${css}" html "${html}")
string(REPLACE "/*@FOLIVOX_JS@*/" "${js}" html "${html}")

set(rest "${html}")
foreach(placeholder "\${index.title}" "\${meta.keywords}" "\${meta.description}" "\${book.text}")
  string(FIND "${rest}" "${placeholder}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the player page lacks the placeholder ${placeholder}")
  endif()
  string(REPLACE "${placeholder}" "" rest "${rest}")
endforeach()
string(FIND "${rest}" "\${" at)
if(NOT at EQUAL -1)
  string(SUBSTRING "${rest}" ${at} 60 context)
  message(FATAL_ERROR "the player page contains \"\${\" outside the four placeholders, near: ${context}")
endif()

# Write through a temporary file so an interrupted build never leaves half a page.
file(WRITE "${OUTPUT}.tmp" "${html}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
