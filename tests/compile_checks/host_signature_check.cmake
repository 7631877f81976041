# The replacement host's declarations come from the host function list: a
# definition with the list's signature compiles, one that differs does not.
#   cmake -DCOMPILER=... -DSOURCE_DIR=... -P host_signature_check.cmake
set(source ${SOURCE_DIR}/tests/compile_checks/host_signature.cpp)
set(flags -std=c++17 -fsyntax-only -I${SOURCE_DIR} -I${SOURCE_DIR}/host/include -DMQHOST_BUILDING)
execute_process(COMMAND ${COMPILER} ${flags} ${source} RESULT_VARIABLE matching ERROR_VARIABLE matching_errors)
if(NOT matching EQUAL 0)
  message(FATAL_ERROR "a definition with the list's signature does not compile:\n${matching_errors}")
endif()
execute_process(COMMAND ${COMPILER} ${flags} -DWRONG_SIGNATURE ${source} RESULT_VARIABLE differing
                ERROR_VARIABLE differing_errors)
if(differing EQUAL 0)
  message(FATAL_ERROR "a definition whose signature differs from the list compiled")
endif()
if(NOT differing_errors MATCHES "MQObj_SetVertex")
  message(FATAL_ERROR "the differing definition failed for another reason:\n${differing_errors}")
endif()
message(STATUS "host declarations: the matching definition compiles, the differing one does not")
