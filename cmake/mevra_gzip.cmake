# mevra_gzip(<input> <output>): compresses a file at build time the way Debian
# ships documentation: best compression, and no name or time stamp inside, so
# the same input always gives the same bytes.
find_program(MEVRA_GZIP gzip REQUIRED)
function(mevra_gzip input output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${MEVRA_GZIP} -9nc ${input} > ${output}
    DEPENDS ${input} VERBATIM)
endfunction()
