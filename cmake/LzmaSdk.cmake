# The LZMA SDK as the system ships its C sources. They are compiled into the build from the
# installed copy, with their own warnings silenced; our code includes them as <lzma/...> so the
# SDK's generic header names (Types.h) never reach a public header.
include_guard(GLOBAL)

find_path(LZMA_SDK_DIR NAMES LzmaDec.c LzmaDec.h PATH_SUFFIXES lzma REQUIRED)
get_filename_component(LZMA_SDK_INCLUDE_ROOT ${LZMA_SDK_DIR} DIRECTORY)

function(kelvrin_lzma_sdk_sources target)
  foreach(source ${ARGN})
    target_sources(${target} PRIVATE ${LZMA_SDK_DIR}/${source})
    set_source_files_properties(${LZMA_SDK_DIR}/${source} PROPERTIES COMPILE_OPTIONS "-w")
  endforeach()
  target_compile_definitions(${target} PUBLIC _7ZIP_ST)
  target_include_directories(${target} SYSTEM PUBLIC ${LZMA_SDK_INCLUDE_ROOT})
endfunction()

# The decoder, with our file-stream adapters and the LZMA-alone decoding loop over it.
add_library(lzma_sdk_decoder STATIC
  ${PROJECT_SOURCE_DIR}/updater/engine/lzma/LzmaFileStreams.cpp
  ${PROJECT_SOURCE_DIR}/updater/engine/lzma/LzmaAloneDecoder.cpp)
kelvrin_lzma_sdk_sources(lzma_sdk_decoder LzmaDec.c)
target_include_directories(lzma_sdk_decoder PUBLIC ${PROJECT_SOURCE_DIR}/updater)

# The encoder, single-threaded; only the package tool and its tests use it.
add_library(lzma_sdk_encoder STATIC)
kelvrin_lzma_sdk_sources(lzma_sdk_encoder LzmaEnc.c LzFind.c)
target_link_libraries(lzma_sdk_encoder PUBLIC lzma_sdk_decoder)
