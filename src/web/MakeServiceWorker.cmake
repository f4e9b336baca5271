# Writes SITE/sw.js from TEMPLATE: the line "// @FILES@" becomes the list of the site's files and
# @VERSION@ a hash of their contents, so that a new build replaces the offline copy.
cmake_minimum_required(VERSION 3.20) # "@FILES@" in strings is text, not a variable
string(REPLACE "|" ";" FILES "${FILES}") # the list as the build passes it
set(hashes "")
set(list "")
foreach(file IN LISTS FILES)
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND hashes "${hash}")
  string(APPEND list "  './${file}',\n")
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING ${version} 0 16 VERSION)
file(READ ${TEMPLATE} text)
string(REPLACE "  // @FILES@\n" "${list}" text "${text}")
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
file(WRITE ${SITE}/sw.js "${text}")
