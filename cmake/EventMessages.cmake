# The program's events: resources/EventMessages.mc holds each event's
# number, name and sentence, once. The message compiler makes from it the
# header of the numbers (resources/EventMessages.h, which
# resources/Events.h includes) and, for the program, the message table
# that the Event Viewer reads its sentences from, in 8-bit text (half the
# size of UTF-16). Every build that compiles the logic makes the header,
# so windmc comes from MinGW's binutils on the host as well.
#
# dorvane_event_messages(TARGET): TARGET's sources may include the header.
# DORVANE_EVENT_MESSAGES_RC: the table's script, for the program.
find_program(DORVANE_WINDMC NAMES ${DORVANE_MC_COMPILER} i686-w64-mingw32-windmc
             x86_64-w64-mingw32-windmc windmc REQUIRED)
set(DORVANE_GENERATED ${CMAKE_BINARY_DIR}/generated)
set(DORVANE_MC_OUT ${DORVANE_GENERATED}/resources)
set(DORVANE_MC_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../resources/EventMessages.mc)
add_custom_command(
  OUTPUT ${DORVANE_MC_OUT}/EventMessages.h ${DORVANE_MC_OUT}/EventMessages.rc
         ${DORVANE_MC_OUT}/MSG00409.bin
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DORVANE_MC_OUT}
  COMMAND ${DORVANE_WINDMC} -A -h ${DORVANE_MC_OUT} -r ${DORVANE_MC_OUT} ${DORVANE_MC_SOURCE}
  DEPENDS ${DORVANE_MC_SOURCE}
  COMMENT "Compiling the event messages")
add_custom_target(dorvane_event_messages
  DEPENDS ${DORVANE_MC_OUT}/EventMessages.h ${DORVANE_MC_OUT}/EventMessages.rc
          ${DORVANE_MC_OUT}/MSG00409.bin)
set(DORVANE_EVENT_MESSAGES_RC ${DORVANE_MC_OUT}/EventMessages.rc)

function(dorvane_event_messages target)
  add_dependencies(${target} dorvane_event_messages)
  target_include_directories(${target} PUBLIC ${DORVANE_GENERATED})
endfunction()
