# cmake -DPROGRAM=... -DNAME=... -DSUMMARY=... -DVERSION=... -DOUTPUT=... -P help_to_man.cmake
# Writes the manual page of a program from its --help text: the name line, then the help as
# it is printed.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
          ${PROGRAM} --help
  OUTPUT_VARIABLE help
  COMMAND_ERROR_IS_FATAL ANY)
# roff: a backslash is written \e; a line may not start with a dot or an apostrophe.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "\n." "\n\\&." help "${help}")
string(REPLACE "\n'" "\n\\&'" help "${help}")
string(TOUPPER "${NAME}" title)
file(WRITE ${OUTPUT}.tmp
  ".TH ${title} 1 \"\" \"${NAME} ${VERSION}\" \"User Commands\"\n"
  ".SH NAME\n${NAME} \\- ${SUMMARY}\n"
  ".SH DESCRIPTION\n.nf\n${help}.fi\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
