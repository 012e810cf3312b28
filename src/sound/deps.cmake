# The sound player's backend: DirectSound on Windows (dsound and dxguid are linked by the
# core already), OpenAL Soft on Linux.
if(NOT WIN32)
  find_package(OpenAL REQUIRED)
  target_link_libraries(lumivane_core PUBLIC ${OPENAL_LIBRARY})
endif()
