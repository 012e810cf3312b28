# The ear test and the number conversion must round every step to single (or double)
# precision exactly as the Linux build does; x87 registers would keep wider values and cut
# faces differently. SSE arithmetic for these files keeps both builds equal.
if(WIN32)
  set_source_files_properties(
    "${CMAKE_CURRENT_LIST_DIR}/objl.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/model_reader.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/../drawables/mesh_data.cpp"
    PROPERTIES COMPILE_OPTIONS "-msse2;-mfpmath=sse")
endif()
