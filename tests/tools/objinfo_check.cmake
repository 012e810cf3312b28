# Runs lumivane-objinfo with a table of arguments and checks exit code and output.
# Inputs: TOOL, EMULATOR (may be empty), MODELS, DATA.
set(failures 0)

# run(<name> <expected exit code> <expected stdout or "-"> <regex stderr must match or "-"> <args...>)
function(run name code expected_out err_regex)
  set(cmd ${TOOL})
  if(EMULATOR)
    set(cmd ${EMULATOR} ${TOOL})
  endif()
  execute_process(COMMAND ${cmd} ${ARGN}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # The Windows build writes CR LF line ends.
  string(REPLACE "\r\n" "\n" out "${out}")
  set(ok TRUE)
  if(NOT rc STREQUAL code)
    message(SEND_ERROR "${name}: exit code ${rc}, expected ${code}\nstderr: ${err}")
    set(ok FALSE)
  endif()
  if(NOT expected_out STREQUAL "-" AND NOT out STREQUAL expected_out)
    message(SEND_ERROR "${name}: standard output\n  got:      [${out}]\n  expected: [${expected_out}]")
    set(ok FALSE)
  endif()
  if(NOT err_regex STREQUAL "-" AND NOT err MATCHES "${err_regex}")
    message(SEND_ERROR "${name}: standard error [${err}] does not match [${err_regex}]")
    set(ok FALSE)
  endif()
  if(ok)
    message(STATUS "ok: ${name}")
  endif()
endfunction()

set(plane_material [=[{"name":"wire_198225087","ambient":[0.7765,0.8824,0.3412],"diffuse":[0.7765,0.8824,0.3412],"specular":[0.35,0.35,0.35],"specularExponent":32}]=])
string(CONCAT plane_json [=[{"meshes":[{"name":"Plane001","vertexCount":6,"indexCount":6,"material":]=] "${plane_material}" "}]}\n")
run("json of the shipped model" 0 "${plane_json}" "-"
    --json "${MODELS}/plane.obj" "${MODELS}/plane.mtl")

# Interleaved: position | texture | normal | tangent | bitangent | Ka | Kd | Ks, Ns.
set(colours "0.7765,0.8824,0.3412,0.7765,0.8824,0.3412,0.35,0.35,0.35,32")
set(frame "0,-0,1,1,0,0,0,1,0")
string(CONCAT vertices
  "-1,1,0,0,1,${frame},${colours},"
  "-1,-1,-0,0,0,${frame},${colours},"
  "1,1,0,1,1,${frame},${colours},"
  "1,-1,-0,1,0,${frame},${colours},"
  "1,1,0,1,1,${frame},${colours},"
  "-1,-1,-0,0,0,${frame},${colours}")
string(CONCAT plane_arrays_json
  [=[{"meshes":[{"name":"Plane001","vertexCount":6,"indexCount":6,"material":]=] "${plane_material}" "}],"
  [=["arrays":{"floatsPerVertex":24,"vertices":[]=] "${vertices}" [=[],"indices":[0,1,2,3,4,5]}}]=] "\n")
run("json with the interleaved arrays" 0 "${plane_arrays_json}" "-"
    --arrays --json "${MODELS}/plane.obj" "${MODELS}/plane.mtl")

set(counts "\r- Plane001\t| vertices > 4\t| texcoords > 4\t| normals > 1\t| triangles > 0")
string(CONCAT plane_text
  "\n${counts}\n${counts}${counts}\t| material: wire_198225087\n"
  "1 mesh\n"
  "mesh \"Plane001\": 6 vertices, 6 indices, material \"wire_198225087\"\n"
  "  Ka 0.7765 0.8824 0.3412  Kd 0.7765 0.8824 0.3412  Ks 0.35 0.35 0.35  Ns 32\n")
run("text report with the reader's progress lines" 0 "${plane_text}" "-"
    "${MODELS}/plane.obj" "${MODELS}/plane.mtl")

run("without an MTL file mtllib reads nothing" 0
    "{\"meshes\":[{\"name\":\"Plane001\",\"vertexCount\":6,\"indexCount\":6,\"material\":{\"name\":\"\",\"ambient\":[0,0,0],\"diffuse\":[0,0,0],\"specular\":[0,0,0],\"specularExponent\":0}}]}\n"
    "-" --json "${MODELS}/plane.obj")

string(CONCAT names_json
  [=[{"meshes":[{"name":"quote\" back\\ tab\there \ufffdé","vertexCount":3,"indexCount":3,]=]
  [=["material":{"name":"m","ambient":[0,0,0],"diffuse":[0.5,0.25,0.001],"specular":[0,0,0],"specularExponent":0}}]}]=] "\n")
run("names are escaped" 0 "${names_json}" "-" --json "${DATA}/names.obj" "${DATA}/names.mtl")

run("a rejected model" 1 "" "model rejected: line 5: face corner" --json "${DATA}/bad_index.obj")
run("a model without faces" 1 "" "model rejected: no faces" --json "${DATA}/names.mtl")
run("a missing file" 2 "" "cannot read .*no-such.obj" --json "${DATA}/no-such.obj")
run("a missing MTL file" 2 "" "cannot read .*no-such.mtl" "${MODELS}/plane.obj" "${DATA}/no-such.mtl")
run("a directory" 2 "" "cannot read .*: is a directory" --json "${DATA}")
run("a directory as MTL" 2 "" "cannot read .*: is a directory" "${MODELS}/plane.obj" "${DATA}")
if(NOT EMULATOR)
  run("an endless stream" 2 "" "cannot read /dev/zero: is not a regular file" --json /dev/zero)
endif()
run("no arguments" 2 "" "usage" )
run("unknown option" 2 "" "unknown option --frobnicate" --frobnicate "${MODELS}/plane.obj")
