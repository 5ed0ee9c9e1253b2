# Writes a file of the package's documentation gzip-compressed as Debian wants it (best compression, no
# name or time stamp, so the same input gives the same bytes). With SCDOC, the input is a manual page
# in scdoc's format, turned into roff first; the roff is kept beside the compressed page.
#
#   cmake -DINPUT=IN -DOUTPUT=OUT.gz [-DSCDOC=PATH -DROFF=OUT -DEPOCH=SECONDS] -P makedoc.cmake
find_program(GZIP gzip REQUIRED)
set(plain "${INPUT}")
if(SCDOC)
    # scdoc dates the page from SOURCE_DATE_EPOCH, else from the clock.
    set(ENV{SOURCE_DATE_EPOCH} "${EPOCH}")
    execute_process(COMMAND "${SCDOC}" INPUT_FILE "${INPUT}" OUTPUT_FILE "${ROFF}.tmp"
                    RESULT_VARIABLE result ERROR_VARIABLE error)
    if(NOT result EQUAL 0)
        file(REMOVE "${ROFF}.tmp")
        message(FATAL_ERROR "scdoc ${INPUT}: ${error}")
    endif()
    # The pages are German: the reader's English hyphenation patterns would break words wrongly, so
    # lines are filled without hyphenation (man's .TH switches it on again, hence after it).
    file(READ "${ROFF}.tmp" roff)
    string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.nh\n" roff "${roff}")
    file(WRITE "${ROFF}" "${roff}")
    file(REMOVE "${ROFF}.tmp")
    set(plain "${ROFF}")
endif()
execute_process(COMMAND "${GZIP}" -9nc INPUT_FILE "${plain}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE "${OUTPUT}")
    message(FATAL_ERROR "gzip ${plain} failed")
endif()
