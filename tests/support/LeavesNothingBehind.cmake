# Runs test programs whole with the system's temporary folder pointed at a
# fresh folder of the build, and fails when anything is left in it: every
# test removes what it made there, names that are not UTF-8 included.
#   cmake -DFOLDER=<folder> -DPROGRAMS=<program;program...> -P LeavesNothingBehind.cmake
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
foreach(program IN LISTS PROGRAMS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_RUNTIME_DIR TMPDIR=${FOLDER} QT_QPA_PLATFORM=offscreen ${program}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${program} failed:\n${output}")
  endif()
endforeach()
file(GLOB left LIST_DIRECTORIES true RELATIVE "${FOLDER}" "${FOLDER}/*")
file(REMOVE_RECURSE "${FOLDER}")
if(left)
  message(FATAL_ERROR "Left behind in the temporary folder: ${left}")
endif()
