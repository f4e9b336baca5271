# Writes SITE/sw.js from TEMPLATE: @FILES@ becomes the list of the site's files and @VERSION@ a
# hash of their contents, so that a new build replaces the offline copy.
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
set(FILES "${list}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
