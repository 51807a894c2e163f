# nlohmann-json (header only, Debian's nlohmann-json3-dev) as the target
# nlohmann_json::nlohmann_json.
#
# A native build takes the installed package. A cross build (mingw-w64)
# finds no package of its own target's, and must not be given the host's
# /usr/include whole, whose C library headers would shadow the target's: it
# gets the host's JSON headers alone, copied into the build folder.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3 REQUIRED)
  return()
endif()
find_package(nlohmann_json 3 QUIET)
if(nlohmann_json_FOUND)
  return()
endif()

find_path(FWUP_HOST_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp NO_CMAKE_FIND_ROOT_PATH)
if(NOT FWUP_HOST_NLOHMANN_JSON_INCLUDE)
  message(FATAL_ERROR "nlohmann-json not found: install nlohmann-json3-dev (scripts/bootstrap)")
endif()
# The version is defined in detail/abi_macros.hpp since 3.11, in json.hpp before.
file(STRINGS ${FWUP_HOST_NLOHMANN_JSON_INCLUDE}/nlohmann/json.hpp FWUP_NLOHMANN_JSON_MAJOR
     REGEX "^#define NLOHMANN_JSON_VERSION_MAJOR")
if(EXISTS ${FWUP_HOST_NLOHMANN_JSON_INCLUDE}/nlohmann/detail/abi_macros.hpp)
  file(STRINGS ${FWUP_HOST_NLOHMANN_JSON_INCLUDE}/nlohmann/detail/abi_macros.hpp FWUP_NLOHMANN_JSON_MAJOR
       REGEX "^#define NLOHMANN_JSON_VERSION_MAJOR")
endif()
if(NOT FWUP_NLOHMANN_JSON_MAJOR MATCHES "NLOHMANN_JSON_VERSION_MAJOR 3([^0-9]|$)")
  message(FATAL_ERROR "nlohmann-json 3 is needed; ${FWUP_HOST_NLOHMANN_JSON_INCLUDE} has: ${FWUP_NLOHMANN_JSON_MAJOR}")
endif()
set(FWUP_STAGED_JSON_INCLUDE ${CMAKE_BINARY_DIR}/nlohmann-json/include)
file(COPY ${FWUP_HOST_NLOHMANN_JSON_INCLUDE}/nlohmann DESTINATION ${FWUP_STAGED_JSON_INCLUDE})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${FWUP_STAGED_JSON_INCLUDE})
message(STATUS "nlohmann-json: the host's headers, staged in ${FWUP_STAGED_JSON_INCLUDE}")
