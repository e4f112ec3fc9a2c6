# Writes the header of zelvo3-cli's launcher: the --help and --bash-completion
# texts of the program it starts, as raw string literals.
#   cmake -DPROGRAM=zelvo3-cli-qt -DOUTPUT=cli_launcher_texts.h -P EmbedCliTexts.cmake
foreach(text help bash-completion)
    execute_process(COMMAND ${PROGRAM} --${text} OUTPUT_VARIABLE ${text} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${PROGRAM} --${text} failed: ${failed}")
    endif()
    if(${text} MATCHES "\\)zelvo3\"")
        message(FATAL_ERROR "the ${text} text holds the literal's delimiter")
    endif()
endforeach()
file(WRITE ${OUTPUT}.new "// Generated at build time from zelvo3-cli-qt's own output.
#pragma once

inline constexpr char kHelpText[] = R\"zelvo3(${help})zelvo3\";
inline constexpr char kCompletionText[] = R\"zelvo3(${bash-completion})zelvo3\";
")
configure_file(${OUTPUT}.new ${OUTPUT} COPYONLY)
