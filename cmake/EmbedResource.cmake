# embed_resource(TARGET SYMBOL FILE)
# Links the bytes of FILE into TARGET as the read-only symbols
# SYMBOL_start and SYMBOL_end (an assembler .incbin: no copy at start-up).
function(embed_resource target symbol file)
  set(asm ${CMAKE_BINARY_DIR}/embedded/${symbol}.S)
  file(CONFIGURE OUTPUT ${asm} CONTENT
"    .section .rodata
    .balign 16
    .global ${symbol}_start
    .global ${symbol}_end
${symbol}_start:
    .incbin \"${file}\"
${symbol}_end:
    .byte 0
    .section .note.GNU-stack,\"\",@progbits
")
  # The compiler's dependency scan does not see .incbin.
  set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS ${file})
  target_sources(${target} PRIVATE ${asm})
endfunction()
