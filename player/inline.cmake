# Inlines the player's style sheet and scripts into its page skeleton, giving one
# self-contained HTML file. Run as:
#   cmake -DPLAYER_DIR=<player folder> -DOUTPUT=<index.html> -P inline.cmake
# The result goes through the publisher's placeholder engine, which would swallow any
# "${" it finds, so the only ones allowed are the four placeholders of the skeleton.

if(NOT PLAYER_DIR OR NOT OUTPUT)
  message(FATAL_ERROR "inline.cmake needs -DPLAYER_DIR=... and -DOUTPUT=...")
endif()

include("${CMAKE_CURRENT_LIST_DIR}/order.cmake")
folivox_player_order("${PLAYER_DIR}" scripts sheets)

file(READ "${PLAYER_DIR}/template.html" html)
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
