# ArtworkFiles.cmake: the names of what artgen writes, shared by the native and the Windows builds.

# vp_artwork_files(OUT FOLDER): full paths of every file artgen writes into FOLDER.
function(vp_artwork_files out folder)
    set(files "")
    foreach(id RANGE 231 261)
        list(APPEND files ${folder}/art${id}.wmf)
    endforeach()
    list(APPEND files ${folder}/type_color.bmp ${folder}/type_mono.bmp ${folder}/artwork_sizes.h)
    set(${out} ${files} PARENT_SCOPE)
endfunction()
