# cmake -DFILE=<path> -P QodexFileDigest.cmake: prints the file's size and
# SHA-256, so a build log tells which executable it made.
file(SIZE "${FILE}" size)
file(SHA256 "${FILE}" digest)
get_filename_component(name "${FILE}" NAME)
message(STATUS "${name}: ${size} bytes, SHA-256 ${digest}")
