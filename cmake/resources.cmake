# One resource list (an .rc file) serves both builds. Windows compiles it with windres;
# Linux turns the same list into a generated table looked up by (id, type).
#
#   lumivane_add_resources(<target> <rc file>)
#
# Lines of the form   <id> <TYPE> "<path relative to the .rc file>"   are resources;
# everything else (comments, blank lines) is ignored.

set(LV_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/embed_resources.cmake")

function(lumivane_add_resources target rcfile)
  get_filename_component(rcfile "${rcfile}" ABSOLUTE)
  get_filename_component(rcdir "${rcfile}" DIRECTORY)
  get_filename_component(rcname "${rcfile}" NAME_WE)
  file(STRINGS "${rcfile}" lines)
  set(entries "")
  set(files "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*([0-9]+)[ \t]+([A-Za-z_]+)[ \t]+\"([^\"]+)\"")
      set(path "${rcdir}/${CMAKE_MATCH_3}")
      list(APPEND entries "${CMAKE_MATCH_1}|${CMAKE_MATCH_2}|${path}")
      list(APPEND files "${path}")
    endif()
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${rcfile}")
  set(outdir "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources")
  if(WIN32)
    # Absolute paths, so windres finds the files wherever it runs.
    set(body "")
    foreach(entry IN LISTS entries)
      string(REPLACE "|" ";" parts "${entry}")
      list(GET parts 0 id)
      list(GET parts 1 type)
      list(GET parts 2 path)
      string(APPEND body "${id} ${type} \"${path}\"\n")
    endforeach()
    file(WRITE "${outdir}/${rcname}.rc.in" "${body}")
    configure_file("${outdir}/${rcname}.rc.in" "${outdir}/${rcname}.rc" COPYONLY)
    target_sources(${target} PRIVATE "${outdir}/${rcname}.rc")
    # windres reads the listed files, but the build only knows about the .rc itself.
    set_source_files_properties("${outdir}/${rcname}.rc" PROPERTIES OBJECT_DEPENDS "${files}")
  else()
    set(out "${outdir}/${rcname}_table.cpp")
    set(list_file "${outdir}/${rcname}.entries")
    file(WRITE "${list_file}.in" "${entries}")
    configure_file("${list_file}.in" "${list_file}" COPYONLY)
    add_custom_command(OUTPUT "${out}"
      COMMAND ${CMAKE_COMMAND} "-DLIST_FILE=${list_file}" "-DOUT=${out}" "-DNAME=${rcname}" -P "${LV_EMBED_SCRIPT}"
      DEPENDS ${files} "${list_file}" "${LV_EMBED_SCRIPT}"
      COMMENT "Embedding resources of ${rcname}.rc"
      VERBATIM)
    target_sources(${target} PRIVATE "${out}")
  endif()
endfunction()
