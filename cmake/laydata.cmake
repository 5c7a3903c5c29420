# cmake -DSOURCE=<repo>/data -DDEST=<build>/data -P laydata.cmake
# Copies the read-only data folders over; the folder "multiple" is only seeded (files
# that already exist beside the program are the teachers' and are never overwritten).
file(GLOB_RECURSE files RELATIVE ${SOURCE} ${SOURCE}/*)
foreach(f IN LISTS files)
    if(f MATCHES "^multiple/" AND EXISTS ${DEST}/${f})
        continue()
    endif()
    if(f MATCHES "(^|/)\\.gitkeep$")
        continue()
    endif()
    get_filename_component(dir ${DEST}/${f} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(COPY_FILE ${SOURCE}/${f} ${DEST}/${f} ONLY_IF_DIFFERENT)
endforeach()
