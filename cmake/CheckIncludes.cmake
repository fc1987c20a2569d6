# Fails when a source file includes a header through a relative path ("../x.h"),
# which would reach around the per-layer include roots.
file(GLOB_RECURSE files "${ROOT}/src/*.h" "${ROOT}/src/*.cpp"
                        "${ROOT}/tests/*.h" "${ROOT}/tests/*.cpp"
                        "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp")
set(bad "")
foreach(file IN LISTS files)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"\\.\\.?/")
    if(lines)
        list(APPEND bad "${file}: ${lines}")
    endif()
endforeach()
if(bad)
    list(JOIN bad "\n" text)
    message(FATAL_ERROR "Relative includes:\n${text}")
endif()
